// Opening the demo book as a catalogue click does: BuildDemoText and the
// opened form, both read in place from the program's own data, then the
// anchor found. And opening a stored book of the same size, as a book of
// My Books opens: its 14,254 lines read from bytes and brought into opened
// form at run time.
#include "BookOpening.h"
#include "BuiltinTexts.h"
#include "EngineFakes.h"
#include "OpenedText.h"
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

void BM_OpenStoredBook(benchmark::State& state) {
    const std::string bytes = demoBookText().toBytes();
    for (auto _ : state) {
        const LineList opened = openedTextOfBytes(bytes);
        benchmark::DoNotOptimize(opened.count());
    }
}
BENCHMARK(BM_OpenStoredBook)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
