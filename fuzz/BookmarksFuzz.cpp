// Every bookmark operation, in an arbitrary order, on an arbitrary bookmark
// file held in memory: the drop-down, add, the popup's list, delete, go to,
// and the closing bookmark, with writes that may fail.
#include "Bookmarks.h"
#include "EngineFakes.h"
#include "FuzzCheck.h"
#include "MemoryFileStore.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace varnet;
using varnet::testing::MemoryFileStore;

namespace {

const std::string kPath = "/data/varnet.bm";

class FakeWindow : public BookmarkWindow {
public:
    void setDeleteAndGotoEnabled(bool e) override { enabled = e; }
    std::optional<std::string> askBookmarkName() override { return name; }
    void notice(const std::string&) override { ++notices; }
    void error(const std::string&) override { ++errors; }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    LocalDateTime now() override { return {"3/7/2001", "9:05:44 PM", midnight}; }

    bool enabled = false;
    bool midnight = false;
    std::string name;
    int notices = 0, errors = 0;
};

// A name as the bookmark-name dialog's one-line edit can give it.
std::string nameFrom(FuzzedDataProvider& in) {
    std::string name = in.ConsumeRandomLengthString(20);
    for (char& c : name)
        if (c == '\r' || c == '\n') c = ' ';
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    static const char* const kKeys[] = {"fable", "none", "title", "author", "", "#1", "<<fable"};
    const std::string key = kKeys[in.ConsumeIntegralInRange<std::size_t>(0, 6)];
    const std::string operations = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(1, 16));
    std::vector<std::string> names;
    std::vector<std::int32_t> numbers;
    for (std::size_t k = 0; k < operations.size(); ++k) {
        names.push_back(nameFrom(in));
        numbers.push_back(in.ConsumeIntegralInRange(-3, 120));
    }

    ReaderState st;
    MemoryFileStore store;
    FakeWindow window;
    std::vector<std::int32_t> drawn;
    varnet::testing::FunctionPlacer placer([&](std::int32_t line) {
        drawn.push_back(line);
        st.TopLine = line;
        return line + 10;
    });
    Bookmarks marks(st, store, window, placer);
    st.BookmarkPath = kPath;
    st.BookKey = key;
    st.BookmarkLines = LineList();
    store.files[kPath] = in.ConsumeRemainingBytesAsString();

    for (std::size_t k = 0; k < operations.size(); ++k) {
        const auto op = static_cast<unsigned char>(operations[k]);
        const std::int32_t number = numbers[k];
        store.failWrites = (op & 0x80) != 0;
        st.TopLine = number * 7;
        const std::string savedBefore = store.files.count(kPath) ? store.files[kPath] : std::string();
        const int errorsBefore = window.errors;
        switch (op % 8) {
            case 0:
            case 1: {
                marks.BMMenuClick();
                const std::int32_t n = st.BookmarkLines ? st.BookmarkLines->count() : 0;
                if (n >= 2) {
                    FUZZ_CHECK(st.BookmarkSection >= 1 && st.BookmarkSection <= n - 1);
                    FUZZ_CHECK(st.BookmarkSectionEnd > st.BookmarkSection);
                    FUZZ_CHECK(st.BookmarkSectionEnd <= st.BookmarkSection + 99);
                    FUZZ_CHECK(st.BookmarkSectionEnd <= n);
                }
                break;
            }
            case 2: {
                window.name = names[k];
                const std::int32_t before = st.BookmarkLines ? st.BookmarkLines->count() : 0;
                marks.BMAddItemClick();
                const std::int32_t after = st.BookmarkLines ? st.BookmarkLines->count() : 0;
                FUZZ_CHECK(after == before + (window.name.empty() ? 0 : 1));
                break;
            }
            case 3: {
                const std::int32_t last = marks.FillBookmarkPopup();
                const auto& captions = marks.popupCaptions();
                FUZZ_CHECK(captions.size() <= 99);
                if (last >= 0) FUZZ_CHECK(static_cast<std::size_t>(last) + 1 == captions.size());
                break;
            }
            case 4: {
                const std::int32_t before = st.BookmarkLines ? st.BookmarkLines->count() : 0;
                marks.BMDeletePopupHandler(number);
                const std::int32_t after = st.BookmarkLines ? st.BookmarkLines->count() : 0;
                FUZZ_CHECK(after == before || after == before - 1);
                break;
            }
            case 5: {
                const std::size_t drawsBefore = drawn.size();
                marks.BMGotoPopupHandler(number);
                if (drawn.size() > drawsBefore) FUZZ_CHECK(drawn.back() >= 0);
                break;
            }
            case 6:
                st.ReadingMoved = true;
                window.midnight = (op & 0x40) != 0;
                marks.WriteClosingBookmark();
                break;
            default:
                // A fresh list, as a book opened after a close finds it.
                st.BookmarkLines = LineList();
                break;
        }
        // A failed write reports itself and leaves the file as it was.
        if (store.failWrites && window.errors > errorsBefore)
            FUZZ_CHECK(savedBefore == (store.files.count(kPath) ? store.files[kPath] : std::string()));
    }
    return 0;
}
