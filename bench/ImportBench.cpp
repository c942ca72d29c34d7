// Importing books of the reader's own: an EPUB of about 200,000 words (1.5
// MB, built here) imported, laid out, kept in My Books and opened, and the
// same for a book ten times as large (the time should grow no faster than
// the book); the memory an import takes above the reader's own; and opening
// a chapter of an imported book against opening one of the demo book.
#include "FakeReaderWindow.h"
#include "FakeSurface.h"
#include "InProcessImporter.h"
#include "PeakMemory.h"
#include "ReaderSession.h"
#include "TempFolder.h"

#include <benchmark/benchmark.h>
#include <zip.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

using namespace varnet;
using varnet::bench::resetPeakKib;
using varnet::bench::statusKib;

namespace {

// Words of many lengths, so that the text compresses as prose does.
const char* const kWords[] = {
    "the",      "river",    "and",    "heron",  "stood",   "in",      "shallows", "without", "moving",
    "while",    "wind",     "turned", "north",  "reeds",   "bent",    "low",      "whisper", "fox",
    "came",     "down",     "to",     "bank",   "at",      "dusk",    "because",  "ice",     "had",
    "broken",   "on",       "far",    "side",   "she",     "watched", "fish",     "under",   "surface",
    "but",      "did",      "not",    "try",    "catch",   "them",    "old",      "willow",  "leaned",
    "over",     "as",       "if",     "wished", "drink",   "from",    "it",       "snow",    "lay",
    "hollows",  "wood",     "long",   "after",  "fields",  "green",   "morning",  "geese",   "back",
    "south",    "grey",     "lines",  "nobody", "village", "could",   "remember", "winter",  "lasted",
    "miller",   "said",     "would",  "rise",   "farmers", "laughed", "end",      "week",    "water",
    "reached",  "lowest",   "step",   "mill",   "flew",    "valley",  "lake",     "where",   "thinner",
    "children", "followed", "flight", "speck",  "against", "hills",   "Marrow",   "Tessaly", "Quillon",
};

// An EPUB 3 of `words` words in chapters of 5,000, its entries stored as
// they are (so the file is about as large as its text); returns the bytes of
// its text.
std::size_t writeEpub(const std::string& path, int words) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
    std::uniform_int_distribution<int> sentenceLength(6, 22);
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) std::abort();
    auto add = [&](const std::string& name, const std::string& text) {
        void* copy = std::malloc(text.size());
        std::copy(text.begin(), text.end(), static_cast<char*>(copy));
        zip_source_t* source = zip_source_buffer(archive, copy, text.size(), 1);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) std::abort();
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    };
    add("mimetype", "application/epub+zip");
    add("META-INF/container.xml",
        "<?xml version=\"1.0\"?><container version=\"1.0\" "
        "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile "
        "full-path=\"content.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles></container>");
    const int chapters = std::max(1, words / 5000);
    std::string manifest, spine, nav;
    std::size_t textBytes = 0;
    int written = 0;
    for (int c = 1; c <= chapters; ++c) {
        const std::string name = "c" + std::to_string(c) + ".xhtml";
        std::ostringstream body;
        body
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\"><head>"
               "<title>Chapter "
            << c << "</title></head><body><h1>Chapter " << c << "</h1>\n";
        const int target = c == chapters ? words - written : words / chapters;
        int inChapter = 0;
        while (inChapter < target) {
            std::string paragraph;
            for (int s = 0; s < 5 && inChapter < target; ++s) {
                const int n = std::min(sentenceLength(random), target - inChapter);
                std::string sentence;
                for (int k = 0; k < n; ++k) {
                    std::string word = kWords[pick(random)];
                    if (k == 0)
                        word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
                    sentence += word;
                    sentence += k + 1 == n ? ". " : (k % 7 == 6 ? ", " : " ");
                }
                textBytes += sentence.size();
                // Markup as a book's own documents carry it.
                paragraph += "<span class=\"s\">" + sentence + "</span>";
                inChapter += n;
            }
            body << "<p>" << paragraph << "</p>\n";
        }
        written += inChapter;
        body << "</body></html>\n";
        add(name, body.str());
        manifest += "<item id=\"c" + std::to_string(c) + "\" href=\"" + name +
                    "\" media-type=\"application/xhtml+xml\"/>";
        spine += "<itemref idref=\"c" + std::to_string(c) + "\"/>";
        nav += "<li><a href=\"" + name + "\">Chapter " + std::to_string(c) + "</a></li>";
    }
    add("nav.xhtml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
        "xmlns:epub=\"http://www.idpf.org/2007/ops\"><head><title>Contents</title></head><body><nav "
        "epub:type=\"toc\"><ol>" +
            nav + "</ol></nav></body></html>");
    add("content.opf",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><package xmlns=\"http://www.idpf.org/2007/opf\" "
        "version=\"3.0\" "
        "unique-identifier=\"id\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:identifier "
        "id=\"id\">bench</dc:identifier><dc:title>The Long River</dc:title><dc:creator>Bench "
        "Writer</dc:creator>"
        "<dc:language>en</dc:language></metadata><manifest><item id=\"nav\" href=\"nav.xhtml\" "
        "media-type=\"application/xhtml+xml\" properties=\"nav\"/>" +
            manifest + "</manifest><spine>" + spine + "</spine></package>");
    if (zip_close(archive) != 0) std::abort();
    return textBytes;
}

// The import runs in the benchmark's own process, so that its time and
// memory are measured.
struct Reader {
    testing::FakeReaderWindow window;
    testing::FakeSurface surface{1920, 1080};
    InProcessImporter importer;
    ReaderSession session{window, surface, diskFileStore(), &importer};
    explicit Reader(const std::string& folder) {
        window.connect(session);
        session.start({folder + "/lib/varnet/varnet", folder + "/data", std::nullopt});
    }
};

// Import, layout, storing and opening, timed together.
void BM_ImportEpub(benchmark::State& state) {
    testing::TempFolder tmp;
    const std::string epub = tmp / "book.epub";
    const std::size_t textBytes = writeEpub(epub, static_cast<int>(state.range(0)));
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = tmp / ("run" + std::to_string(run++));
        {
            Reader r(folder);
            state.ResumeTiming();
            r.session.importBook(epub);
            state.PauseTiming();
            if (!r.window.errors.empty()) state.SkipWithError(r.window.errors.front().c_str());
        }
        std::filesystem::remove_all(folder);
        state.ResumeTiming();
    }
    std::error_code ec;
    state.counters["epub_bytes"] = static_cast<double>(std::filesystem::file_size(epub, ec));
    state.counters["text_bytes"] = static_cast<double>(textBytes);
}
BENCHMARK(BM_ImportEpub)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The memory one import takes above the reader's own: the peak is reset once
// the reader has started (and memory freed before is given back, so that
// the import cannot hide in it), and read when the book is open. Run alone,
// in a process of its own, so that no other benchmark's memory is reused.
void BM_ImportPeakMemory(benchmark::State& state) {
    testing::TempFolder tmp;
    const std::string epub = tmp / "book.epub";
    const std::size_t textBytes = writeEpub(epub, 200000);
    long above = 0;
    for (auto _ : state) {
        Reader r(tmp / "data-home");
        const long before = resetPeakKib();
        r.session.importBook(epub);
        above = statusKib("VmHWM") - before;
        if (!r.window.errors.empty()) state.SkipWithError(r.window.errors.front().c_str());
    }
    state.counters["above_kib"] = static_cast<double>(above);
    state.counters["text_kib"] = static_cast<double>(textBytes) / 1024.0;
}
BENCHMARK(BM_ImportPeakMemory)->Iterations(1);

// Opening a chapter of an imported book of the demo book's size (read from
// disk, brought into opened form, the anchor found, the panel drawn), as
// BM_OpenChapterFromStoredLines opens one of the demo book.
void BM_OpenOwnChapter(benchmark::State& state) {
    testing::TempFolder tmp;
    const std::string epub = tmp / "book.epub";
    writeEpub(epub, 45000);
    Reader r(tmp / "data-home");
    r.session.importBook(epub);
    if (!r.window.errors.empty()) state.SkipWithError(r.window.errors.front().c_str());
    const std::string text = r.session.state().OpenFileName;
    int n = 0;
    for (auto _ : state) {
        r.session.state().OpenFileName = "other.qtx";
        r.session.opening().OpenBook(text, (n++ % 2) ? "refpt006" : "refpt003");
        benchmark::DoNotOptimize(r.session.state().NextLine);
    }
    state.counters["lines"] = r.session.state().CurrentText->count();
    state.counters["bytes"] = static_cast<double>(r.session.state().CurrentText->byteCount());
}
BENCHMARK(BM_OpenOwnChapter)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
