// Opening a built-in text with an arbitrary bookmark file behind it: the
// resume offer reads the newest bookmark of the book's section, whatever the
// file holds, and the first panel is drawn on the fake surface.
#include "BookOpening.h"
#include "Bookmarks.h"
#include "BuiltinTexts.h"
#include "EngineFakes.h"
#include "FakeReaderWindow.h"
#include "FakeSurface.h"
#include "FuzzCheck.h"
#include "MemoryFileStore.h"
#include "PanelRenderer.h"
#include "ReaderSession.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

using namespace varnet;
using varnet::testing::FakeSurface;
using varnet::testing::MemoryFileStore;

namespace {

const std::string kPath = "/data/varnet.bm";

// Each text is loaded once, by OpenBook itself; every run starts from a copy
// of it, so the runs spend their time on the resume offer.
const LineList& firstOpening(const std::string& fileName) {
    static std::map<std::string, LineList> texts;
    auto it = texts.find(fileName);
    if (it == texts.end()) {
        ReaderState st;
        varnet::testing::FakeOpeningHost host;
        BookOpening(st, host).OpenBook(fileName, "00000");
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

    // A whole reading session over a fake window, surface and file store.
    varnet::testing::FakeReaderWindow window;
    window.answer = answer;
    FakeSurface surface(1000, 800);
    MemoryFileStore store;
    ReaderSession session(window, surface, store);
    window.connect(session);
    ReaderState& st = session.state();
    st.BookFolder = "/nonexistent-varnet-fuzz/";
    st.FontSize = 15;
    // The text as the first opening left it; one run in four loads it afresh.
    if (!in.ConsumeBool() || !in.ConsumeBool()) {
        st.OpenFileName = fileName;
        st.BookKey = bookKeyFrom(fileName);
        st.CurrentText = firstOpening(fileName);
    }
    st.BookmarkPath = kPath;
    st.BookmarkLines = LineList();
    store.files[kPath] = in.ConsumeRemainingBytesAsString();

    for (int round = 0; round < (twice ? 2 : 1); ++round) {
        window.questions.clear();
        window.errors.clear();
        session.opening().OpenBook(fileName, "00000");
        FUZZ_CHECK(st.CurrentText && st.CurrentText->count() >= 3);
        FUZZ_CHECK(st.BookKey == bookKeyFrom(fileName));
        // A resume only where the reader said Yes; a bad number is reported
        // and the book opens at its start.
        const bool asked = !window.questions.empty();
        FUZZ_CHECK(st.TopLine >= 0);
        if (!(asked && answer)) FUZZ_CHECK(st.TopLine == 0);
        if (!window.errors.empty()) FUZZ_CHECK(!asked && st.TopLine == 0);
        FUZZ_CHECK(st.NextLine >= st.TopLine);
    }
    return 0;
}
