// The reader's everyday operations at full-screen size through the Qt
// surface: paging through the whole demo book, opening a chapter from the
// contents tree, adding a bookmark to a large bookmark file, and building
// the word-index tree widget for the demo book's own index.

#include "AtomicFile.h"
#include "BenchSupport.h"
#include "BookOpening.h"
#include "Bookmarks.h"
#include "BuiltinTexts.h"
#include "ColourSchemes.h"
#include "EngineFakes.h"
#include "FakeReaderWindow.h"
#include "OpenedText.h"
#include "Paging.h"
#include "ReaderSession.h"
#include "ReadingSurface.h"
#include "TextFileStore.h"
#include "TreeFill.h"
#include "WordIndex.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

using namespace varnet;

namespace {

// A reading session on a full-screen reading surface, with a window that only
// holds its widgets' states.
struct Reader {
    std::unique_ptr<ui::ReadingSurface> widget = std::make_unique<ui::ReadingSurface>();
    testing::FakeReaderWindow window;
    ReaderSession session{window, widget->surface()};
    ReaderState& st = session.state();
    PanelRenderer& renderer = session.renderer();
    Paging& paging = session.paging();
    BookOpening& opening = session.opening();
    Reader() {
        widget->resize(1920, 1080);
        widget->surface().create(QSize(1920, 1080), 1.0);
        // The widget is never shown: its picture is made now, as showing it
        // would, so that panels are painted and not only kept for later.
        widget->surface().coverWidget();
        st.FontSize = 15;
        fillScheme(st, Scheme::Light);
    }
};

// Every panel of the book, forward from the first and back from the last;
// each iteration is one walk through the book by paging, then one walk that
// draws the same panels in the same order straight from their top lines, so
// that the counters compare the median and worst panel of paging with those
// of drawing the same panels under the same conditions.
void pageThrough(benchmark::State& state, bool forward) {
    Reader r;
    r.opening.OpenBook("/bench/fable.qtx", "refpt001");
    std::vector<double> paged, drawn;
    std::vector<std::int32_t> tops;
    const auto since = [](std::chrono::steady_clock::time_point begin) {
        return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count();
    };
    for (auto _ : state) {
        if (forward) {
            r.st.NextLine = r.renderer.DrawPanel(0);
        } else {
            r.st.TopLine = r.st.CurrentText->count() - 2;
        }
        tops.clear();
        for (;;) {
            const std::int32_t top = r.st.TopLine;
            const auto begin = std::chrono::steady_clock::now();
            if (forward)
                r.paging.PageForward();
            else
                r.paging.PageBack();
            paged.push_back(since(begin));
            tops.push_back(r.st.TopLine);
            // Paging on the last panel (or back on the first) does not move:
            // the walk ends there.
            const bool atEnd = forward ? r.st.TopLine >= r.st.CurrentText->count() - 2 : r.st.TopLine == 0;
            if (atEnd || r.st.TopLine == top) break;
        }
        state.PauseTiming();
        for (const std::int32_t top : tops) {
            const auto begin = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(r.renderer.DrawPanel(top));
            drawn.push_back(since(begin));
        }
        state.ResumeTiming();
    }
    std::sort(paged.begin(), paged.end());
    std::sort(drawn.begin(), drawn.end());
    state.counters["panels_per_walk"] =
        static_cast<double>(paged.size()) / static_cast<double>(state.iterations());
    state.counters["median_us"] = paged[paged.size() / 2];
    state.counters["worst_us"] = paged.back();
    state.counters["draw_median_us"] = drawn[drawn.size() / 2];
    state.counters["draw_worst_us"] = drawn.back();
}
void BM_PageForwardWholeBook(benchmark::State& state) {
    pageThrough(state, true);
}
void BM_PageBackWholeBook(benchmark::State& state) {
    pageThrough(state, false);
}
BENCHMARK(BM_PageForwardWholeBook)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(1);
BENCHMARK(BM_PageBackWholeBook)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(1);

// A click on a chapter: build the demo book, load its opened form (the name
// differs from the one open each time), find the anchor, draw the panel.
void BM_OpenChapter(benchmark::State& state) {
    Reader r;
    int n = 0;
    for (auto _ : state) {
        BuildDemoText(r.st);
        r.st.OpenFileName = "other.qtx";
        r.opening.OpenBook("/bench/fable.qtx", (n++ % 2) ? "refpt012" : "refpt003");
        benchmark::DoNotOptimize(r.st.NextLine);
    }
}
BENCHMARK(BM_OpenChapter)->Unit(benchmark::kMillisecond);

// The same click with the opened form made at run time from the stored
// lines by the rules every text kept on disk opens by (the demo book's is
// made at build time): the yardstick for opening a chapter of an imported
// book.
void BM_OpenChapterFromStoredLines(benchmark::State& state) {
    Reader r;
    int n = 0;
    for (auto _ : state) {
        r.st.CurrentText = openedText(demoBookText());
        r.st.OpenFileName = "/bench/fable.qtx";  // opened above: not loaded again
        r.opening.OpenBook("/bench/fable.qtx", (n++ % 2) ? "refpt012" : "refpt003");
        benchmark::DoNotOptimize(r.st.NextLine);
    }
    state.counters["lines"] = r.st.CurrentText->count();
    state.counters["bytes"] = static_cast<double>(r.st.CurrentText->byteCount());
}
BENCHMARK(BM_OpenChapterFromStoredLines)->Unit(benchmark::kMillisecond);

// The Bookmarks menu drops down (the file is reloaded) and a bookmark is
// added (the file is written whole, atomically) on a file of 10,000 lines.
void BM_AddBookmarkTo10000Lines(benchmark::State& state) {
    QTemporaryDir dir;
    ReaderState st;
    st.BookmarkPath = QDir(dir.path()).filePath("bench.bm").toStdString();
    st.BookKey = "fable";
    LineList file({"<<none", "<<title", "<<fable"});
    for (int k = 0; k < 9996; ++k)
        file.add("#" + std::to_string(k * 7) + " a bookmark named " + std::to_string(k));
    file.add("<<author");
    (void)AtomicFile::write(st.BookmarkPath, file.toBytes());
    testing::FakeReaderWindow window;
    window.bookmarkName = "Lion";
    testing::FunctionPlacer placer;
    Bookmarks marks(st, diskFileStore(), window, placer);
    for (auto _ : state) {
        state.PauseTiming();
        (void)AtomicFile::write(st.BookmarkPath, file.toBytes());
        st.BookmarkLines = LineList();
        state.ResumeTiming();
        marks.BMMenuClick();
        marks.BMAddItemClick();
    }
}
BENCHMARK(BM_AddBookmarkTo10000Lines)->Unit(benchmark::kMillisecond);

// The word-index tree of the demo book, built into a tree widget as the
// Index page's "Load Index" does.
void BM_IndexTreeWidgetForTheDemoBook(benchmark::State& state) {
    const std::string path = (QCoreApplication::applicationDirPath() + "/../src/ui/fable.qdx").toStdString();
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        state.SkipWithError("fable.qdx not found beside the program");
        return;
    }
    for (auto _ : state) {
        QTreeWidget tree;
        const std::vector<IndexNode> nodes = buildIndexTree(prepareIndexLines(LineList::fromBytes(bytes)));
        ui::fillTree(&tree, nodes);
        state.counters["nodes"] = static_cast<double>(nodes.size());
    }
}
BENCHMARK(BM_IndexTreeWidgetForTheDemoBook)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return varnet::bench::runInApplication(argc, argv);
}
