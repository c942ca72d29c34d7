// Searching a whole book without a hit, each way, and preparing word indexes
// of growing size.
#include "EngineFakes.h"
#include "LineList.h"
#include "TextSearch.h"
#include "WordIndex.h"

#include <benchmark/benchmark.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace varnet;

namespace {

void giveBackFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

constexpr std::int32_t kBookLines = 14256;

// Lines shaped like an opened book: indented phrases of about twenty
// characters with colour tags, a section break or page marker every few
// lines, then the end marker, the closing line and the final blank line.
LineList syntheticBook() {
    std::mt19937 rng(7);
    const char* words[] = {"quiet", "road",      "lantern", "wind", "the",
                           "old",   "traveller", "coat",    "sun",  "hill"};
    std::vector<std::string> lines;
    lines.reserve(kBookLines);
    int page = 2;
    while (static_cast<std::int32_t>(lines.size()) < kBookLines - 3) {
        const auto k = lines.size();
        if (k % 13 == 12) {
            char marker[16];
            std::snprintf(marker, sizeof marker, "p%03d ", page++);
            lines.push_back(marker);
        } else if (k % 13 == 6) {
            lines.push_back("s000 ");
        } else {
            std::string line(rng() % 8, ' ');
            line += words[rng() % 10];
            line += " |9>";
            line += words[rng() % 10];
            line += "|4> ";
            line += words[rng() % 10];
            line += ' ';
            lines.push_back(std::move(line));
        }
    }
    lines.push_back("p999");
    lines.push_back("        END OF FILE");
    lines.push_back(" ");
    return LineList(std::move(lines));
}

class QuietDialog : public FindDialog {
public:
    explicit QuietDialog(bool down) : down_(down) {}
    std::string findText() const override { return "zebra crossing"; }
    bool searchDown() const override { return down_; }
    bool matchCase() const override { return false; }
    void close() override { ++closes; }
    int closes = 0;

private:
    bool down_;
};

void searchWithoutHit(benchmark::State& bm, bool down) {
    ReaderState st;
    st.CurrentText = syntheticBook();
    QuietDialog dialog(down);
    testing::FunctionHitDrawer drawer([&st](std::int32_t start, std::int32_t) {
        st.TopLine = start;
        return start + 20;
    });
    TextSearch search(st, dialog, drawer);
    for (auto _ : bm) {
        st.TopLine = down ? 0 : kBookLines - 3;
        st.NextLine = down ? 0 : kBookLines - 1;
        search.FindDialog1Find();
    }
    if (dialog.closes != static_cast<int>(bm.iterations())) bm.SkipWithError("a search found something");
    bm.counters["lines"] = kBookLines;
}

void BM_SearchDownWithoutHit(benchmark::State& bm) {
    searchWithoutHit(bm, true);
}
void BM_SearchUpWithoutHit(benchmark::State& bm) {
    searchWithoutHit(bm, false);
}
BENCHMARK(BM_SearchDownWithoutHit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchUpWithoutHit)->Unit(benchmark::kMillisecond);

// An index file of n lines: words in first-letter order, each with one to
// four references, short mostly, long for the higher line numbers.
LineList syntheticIndex(std::int64_t n) {
    std::mt19937 rng(11);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(n));
    for (std::int64_t k = 0; k < n; ++k) {
        std::string line(1, static_cast<char>('a' + k * 26 / n));
        for (unsigned len = 2 + rng() % 8; len > 0; --len) line += static_cast<char>('a' + rng() % 26);
        for (unsigned refs = 1 + rng() % 4; refs > 0; --refs) {
            const unsigned at = rng() % 200000;
            char ref[16];
            if (at >= 100000)
                std::snprintf(ref, sizeof ref, "|%010u", at);
            else
                std::snprintf(ref, sizeof ref, "|%09u", at);
            line += ref;
        }
        lines.push_back(std::move(line));
    }
    return LineList(std::move(lines));
}

// Loading an index happens once per book, into memory the program has not
// used before; so every run starts with the freed memory of the run before
// given back to the system (on a small index it would otherwise be reused,
// and the run would not pay for the pages a real load touches).
void BM_PrepareIndex(benchmark::State& bm) {
    const LineList file = syntheticIndex(bm.range(0));
    std::int64_t prepared = 0;
    for (auto _ : bm) {
        auto lines = std::make_unique<LineList>(prepareIndexLines(file));
        prepared = lines->count();
        benchmark::DoNotOptimize(lines);
        bm.PauseTiming();
        lines.reset();
        giveBackFreedMemory();
        bm.ResumeTiming();
    }
    bm.counters["file_lines"] = static_cast<double>(bm.range(0));
    bm.counters["index_lines"] = static_cast<double>(prepared);
}
BENCHMARK(BM_PrepareIndex)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same with the memory of earlier runs reused, as a second load would.
void BM_PrepareIndexWarm(benchmark::State& bm) {
    const LineList file = syntheticIndex(bm.range(0));
    for (auto _ : bm) {
        LineList lines = prepareIndexLines(file);
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_PrepareIndexWarm)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
