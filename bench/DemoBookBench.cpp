// Opening the demo book: BuildDemoText (the 14,254 stored lines made anew)
// and bringing the book into normalised form, as a catalogue click does.
#include "BookOpening.h"
#include "BuiltinTexts.h"
#include "EngineFakes.h"
#include "ReaderState.h"

#include <benchmark/benchmark.h>

using namespace varnet;

namespace {

void BM_BuildAndOpenDemoBook(benchmark::State& state) {
    ReaderState st;
    testing::FakeOpeningHost host;
    BookOpening opening(st, host);
    for (auto _ : state) {
        BuildDemoText(st);
        st.OpenFileName.clear();  // so that the book is loaded again
        opening.OpenBook("/books/fable.qtx", "refpt001");
        benchmark::DoNotOptimize(st.CurrentText->count());
    }
}
BENCHMARK(BM_BuildAndOpenDemoBook)->Unit(benchmark::kMillisecond);

void BM_BuildDemoText(benchmark::State& state) {
    ReaderState st;
    for (auto _ : state) {
        BuildDemoText(st);
        benchmark::DoNotOptimize(st.DemoText->count());
    }
}
BENCHMARK(BM_BuildDemoText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
