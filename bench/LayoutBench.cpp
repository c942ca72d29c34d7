// Laying out a long book: the demo book's prose, its 24 chapters repeated
// into a book of about 200,000 words, through layOutDocument (phrases,
// colours, pages, stored lines and the word index). The counters give the
// book's words and stored lines and the process's peak memory.
#include "DocumentLayout.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>

using namespace varnet::layout;

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

}  // namespace

BENCHMARK_MAIN();
