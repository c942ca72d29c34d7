// Laying out a long book: the demo book's prose, its 24 chapters repeated
// into a book of about 200,000 words, through layOutDocument (phrases,
// colours, pages, stored lines and the word index). The counters give the
// book's words and stored lines and the process's peak memory.
//
// BM_LayOutPeakMemory gives the peak memory of one layout above what the
// process held before it (the book already read), the laid-out text it
// returns included; kept_kib is what the process still holds once the
// layout has returned, the text alive (memory freed inside the heap but not
// handed back to the system still counts). Run it in a process of its own
// (--benchmark_filter=BM_LayOutPeakMemory), since the peak is the process's.
#include "DocumentLayout.h"
#include "PeakMemory.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>

using namespace varnet::layout;
using varnet::bench::resetPeakKib;
using varnet::bench::statusKib;

namespace {

// The demo chapters, each a title line and paragraphs parted by blank lines.
std::vector<Chapter> demoChapters() {
    std::vector<Chapter> chapters;
    for (int n = 1; n <= 24; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "/data/book/chapter%02d.txt", n);
        std::ifstream in(std::string(VARNET_SOURCE_DIR) + name);
        Chapter chapter;
        std::string line, paragraph;
        auto flush = [&] {
            if (!paragraph.empty()) chapter.blocks.push_back({Block::Kind::Paragraph, {paragraph}});
            paragraph.clear();
        };
        while (std::getline(in, line)) {
            if (chapter.title.empty())
                chapter.title = line;
            else if (line.empty() || line == "*")
                flush();
            else
                paragraph += (paragraph.empty() ? "" : " ") + line;
        }
        flush();
        chapters.push_back(std::move(chapter));
    }
    return chapters;
}

std::size_t wordsOf(const BookDocument& book) {
    std::size_t words = 0;
    for (const Chapter& c : book.chapters)
        for (const Block& b : c.blocks)
            for (const std::string& line : b.lines) {
                std::istringstream in(line);
                std::string w;
                while (in >> w) ++words;
            }
    return words;
}

BookDocument longBook(std::size_t wantedWords) {
    const std::vector<Chapter> chapters = demoChapters();
    BookDocument book{"The Long Lantern Book", "Aesop", {}};
    while (wordsOf(book) < wantedWords)
        for (const Chapter& c : chapters) book.chapters.push_back(c);
    return book;
}

void BM_LayOutLongBook(benchmark::State& state) {
    const BookDocument book = longBook(200000);
    std::size_t lines = 0;
    for (auto _ : state) {
        const LaidOutText text = layOutDocument(book);
        lines = text.stored.size();
        benchmark::DoNotOptimize(text.indexLines.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["words"] = static_cast<double>(wordsOf(book));
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["peakMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_LayOutLongBook)->Unit(benchmark::kMillisecond);

// The characters the laid-out text holds: its lines as files would keep them.
std::size_t textBytes(const std::vector<std::string>& lines) {
    std::size_t n = 0;
    for (const std::string& line : lines) n += line.size() + 1;
    return n;
}

void BM_LayOutPeakMemory(benchmark::State& state) {
    const BookDocument book = longBook(200000);
    std::size_t sourceBytes = 0;
    for (const Chapter& c : book.chapters)
        for (const Block& b : c.blocks)
            for (const std::string& line : b.lines) sourceBytes += line.size() + 1;
    long above = 0, kept = 0;
    std::size_t storedBytes = 0, indexBytes = 0;
    for (auto _ : state) {
        const long before = resetPeakKib();
        {
            const LaidOutText text = layOutDocument(book);
            above = statusKib("VmHWM") - before;
            kept = statusKib("VmRSS") - before;
            storedBytes = textBytes(text.stored);
            indexBytes = textBytes(text.indexLines);
        }
    }
    state.counters["above_kib"] = static_cast<double>(above);
    state.counters["kept_kib"] = static_cast<double>(kept);
    state.counters["text_kib"] = static_cast<double>(sourceBytes) / 1024.0;
    state.counters["stored_kib"] = static_cast<double>(storedBytes) / 1024.0;
    state.counters["index_kib"] = static_cast<double>(indexBytes) / 1024.0;
}
BENCHMARK(BM_LayOutPeakMemory)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
