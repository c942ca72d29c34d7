// Opening a built-in text with an arbitrary bookmark file behind it: the
// resume offer reads the newest bookmark of the book's section, whatever the
// file holds, and the first panel is drawn on the fake surface.
#include "BookOpening.h"
#include "Bookmarks.h"
#include "BuiltinTexts.h"
#include "FakeSurface.h"
#include "FuzzCheck.h"
#include "MemoryFileStore.h"
#include "PanelRenderer.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

using namespace varnet;
using varnet::testing::FakeControls;
using varnet::testing::FakeSurface;
using varnet::testing::MemoryFileStore;

namespace {

const std::string kPath = "/data/varnet.bm";

class QuietWindow : public BookmarkWindow {
public:
    void setDeleteAndGotoEnabled(bool) override {}
    std::optional<std::string> askBookmarkName() override { return std::string(); }
    void notice(const std::string&) override {}
    void error(const std::string&) override {}
    LocalDateTime now() override { return {"3/7/2001", "9:05:44 PM", false}; }
};

// Each text is loaded once, by OpenBook itself; every run starts from a copy
// of it, so the runs spend their time on the resume offer.
const LineList& openedText(const std::string& fileName) {
    static std::map<std::string, LineList> texts;
    auto it = texts.find(fileName);
    if (it == texts.end()) {
        ReaderState st;
        BookOpening(st, BookOpeningHooks{}).OpenBook(fileName, "00000");
        it = texts.emplace(fileName, *st.CurrentText).first;
    }
    return it->second;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    static const char* const kFiles[] = {"/opt/varnet/fable.qtx", "/opt/varnet/none.qtx",
                                         "/opt/varnet/title.qtx", "/opt/varnet/author.qtx",
                                         "/opt/varnet/smith.qtx"};
    const std::string fileName = kFiles[in.ConsumeIntegralInRange<std::size_t>(0, 4)];
    const bool answer = in.ConsumeBool();
    const bool twice = in.ConsumeBool();

    ReaderState st;
    st.BookFolder = "/nonexistent-varnet-fuzz/";
    st.FontSize = 15;
    // The text as the first opening left it; one run in four loads it afresh.
    if (!in.ConsumeBool() || !in.ConsumeBool()) {
        st.OpenFileName = fileName;
        st.BookKey = bookKeyFrom(fileName);
        st.CurrentText = openedText(fileName);
    }
    st.BookmarkPath = kPath;
    st.BookmarkLines = LineList();
    MemoryFileStore store;
    store.files[kPath] = in.ConsumeRemainingBytesAsString();
    QuietWindow window;
    FakeSurface surface(1000, 800);
    FakeControls controls;
    PanelRenderer renderer(st, surface, controls);
    Bookmarks marks(st, store, window, [&](std::int32_t line) { return renderer.DrawPanel(line); });

    int asked = 0, errors = 0;
    std::int32_t drawnFrom = -1;
    BookOpening opening(st, BookOpeningHooks{[&] { marks.BMMenuClick(); },
                                             [&](const std::string&, const std::string&) {
                                                 ++asked;
                                                 return answer;
                                             },
                                             [&](const std::string&) { ++errors; },
                                             [&](std::int32_t line) {
                                                 drawnFrom = line;
                                                 return renderer.DrawPanel(line);
                                             }});

    for (int round = 0; round < (twice ? 2 : 1); ++round) {
        asked = errors = 0;
        opening.OpenBook(fileName, "00000");
        FUZZ_CHECK(st.CurrentText && st.CurrentText->count() >= 3);
        FUZZ_CHECK(st.BookKey == bookKeyFrom(fileName));
        // A resume only where the reader said Yes; a bad number is reported
        // and the book opens at its start.
        FUZZ_CHECK(drawnFrom >= 0);
        if (!(asked && answer)) FUZZ_CHECK(drawnFrom == 0);
        if (errors) FUZZ_CHECK(asked == 0 && drawnFrom == 0);
        FUZZ_CHECK(st.TopLine == drawnFrom);
        FUZZ_CHECK(st.NextLine >= drawnFrom);
    }
    return 0;
}
