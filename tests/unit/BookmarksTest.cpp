#include "Bookmarks.h"
#include "EngineFakes.h"
#include "MemoryFileStore.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace varnet;
using varnet::testing::MemoryFileStore;

namespace {

const std::string kPath = "/data/varnet.bm";
const std::vector<std::string> kSeed = {"<<none", "<<title", "<<fable", "<<author"};

class FakeWindow : public BookmarkWindow {
public:
    void setDeleteAndGotoEnabled(bool e) override { enabled = e; }
    std::optional<std::string> askBookmarkName() override { return name; }
    void notice(const std::string& t) override { notices.push_back(t); }
    void error(const std::string& t) override { errors.push_back(t); }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    LocalDateTime now() override { return clock; }

    bool enabled = true;
    std::string name = " ";
    std::vector<std::string> notices, errors;
    LocalDateTime clock{"3/7/2001", "9:05:44 PM", false};
};

struct Fixture {
    ReaderState st;
    MemoryFileStore store;
    FakeWindow window;
    std::vector<std::int32_t> drawn;
    varnet::testing::FunctionPlacer placer{[this](std::int32_t line) {
        drawn.push_back(line);
        st.TopLine = line;
        return line + 10;
    }};
    Bookmarks marks{st, store, window, placer};

    explicit Fixture(std::vector<std::string> file = kSeed, std::string key = "fable") {
        st.BookmarkPath = kPath;
        st.BookmarkLines = LineList();
        st.BookKey = std::move(key);
        store.files[kPath] = LineList(std::move(file)).toBytes();
    }
    std::vector<std::string> onDisk() const { return store.linesOf(kPath).strings(); }
    void add(const std::string& name, std::int32_t top) {
        marks.BMMenuClick();
        st.TopLine = top;
        window.name = name;
        marks.BMAddItemClick();
    }
};

std::vector<std::string> numbered(int count) {
    std::vector<std::string> lines = {"<<none", "<<fable"};
    for (int k = count; k >= 1; --k) lines.push_back("#" + std::to_string(k) + " mark " + std::to_string(k));
    lines.push_back("<<author");
    return lines;
}

}  // namespace

TEST(Bookmarks, FirstUseOfTheDemoBookAndAnAdd) {
    Fixture f;
    f.marks.BMMenuClick();
    EXPECT_EQ(f.st.BookmarkSection, 2);
    EXPECT_EQ(f.st.BookmarkSectionEnd, 3);
    EXPECT_FALSE(f.window.enabled);
    f.st.TopLine = 1210;
    f.st.ReadingMoved = true;
    f.window.name = "Lion";
    f.marks.BMAddItemClick();
    EXPECT_FALSE(f.st.ReadingMoved);
    EXPECT_EQ(f.onDisk(),
              (std::vector<std::string>{"<<none", "<<title", "<<fable", "#1210 Lion", "<<author"}));
    f.marks.BMMenuClick();
    EXPECT_TRUE(f.window.enabled);
}

TEST(Bookmarks, NewestFirstWithBlanksKept) {
    Fixture f;
    f.add("A", 10);
    f.add("  B with blanks ", 20);
    f.add(" ", 30);  // the dialog's initial name is a name too
    EXPECT_EQ(f.onDisk(), (std::vector<std::string>{"<<none", "<<title", "<<fable", "#30  ",
                                                    "#20   B with blanks ", "#10 A", "<<author"}));
    f.marks.BMMenuClick();
    EXPECT_EQ(f.marks.FillBookmarkPopup(), 2);
    EXPECT_EQ(f.marks.popupCaptions(), (std::vector<std::string>{" ", "  B with blanks ", "A"}));
}

TEST(Bookmarks, EmptyNameAddsNothing) {
    Fixture f;
    f.marks.BMMenuClick();
    f.window.name = "";
    f.st.ReadingMoved = true;
    const int saves = f.store.saves;
    f.marks.BMAddItemClick();
    EXPECT_EQ(f.window.notices, std::vector<std::string>{"No BookMark Added"});
    EXPECT_EQ(f.store.saves, saves);
    EXPECT_TRUE(f.st.ReadingMoved);
    EXPECT_EQ(f.onDisk(), kSeed);
}

TEST(Bookmarks, SectionLookupAndHeaderCreation) {
    struct Case {
        const char* name;
        std::vector<std::string> file;
        std::string key;
        std::vector<std::string> after;  // the file after the drop-down
        std::int32_t section, end;
    };
    const std::vector<Case> cases = {
        {"line 0 is never a header: the welcome page gets a second section",
         kSeed,
         "none",
         {"<<none", "<<title", "<<fable", "<<author", "<<none"},
         4,
         5},
        {"no book open yet: the bare header",
         kSeed,
         "",
         {"<<none", "<<title", "<<fable", "<<author", "<<"},
         4,
         5},
        {"a last line neither header nor bookmark gives way",
         {"<<none", "<<title", "odd"},
         "fable",
         {"<<none", "<<title", "<<fable", ""},
         2,
         3},
        {"an empty last line gives way too",
         {"<<none", "<<title", ""},
         "fable",
         {"<<none", "<<title", "<<fable", ""},
         2,
         3},
        {"a bookmark on the last line is kept",
         {"<<none", "<<x", "#5 a"},
         "fable",
         {"<<none", "<<x", "#5 a", "<<fable"},
         3,
         4},
        {"a header differing in case is another section",
         {"<<none", "<<Fable", "#1 x", "<<author"},
         "fable",
         {"<<none", "<<Fable", "#1 x", "<<author", "<<fable"},
         4,
         5},
        {"a trailing blank makes another section",
         {"<<none", "<<fable ", "#1 x", "<<author"},
         "fable",
         {"<<none", "<<fable ", "#1 x", "<<author", "<<fable"},
         4,
         5},
        {"section at the end with one bookmark lists none",
         {"<<none", "<<fable", "#1 only"},
         "fable",
         {"<<none", "<<fable", "#1 only"},
         1,
         2},
        {"section at the end with two lists the newer",
         {"<<none", "<<fable", "#2 new", "#1 old"},
         "fable",
         {"<<none", "<<fable", "#2 new", "#1 old"},
         1,
         3},
        {"an empty file", {}, "fable", {}, 1, 2},
        {"a file of one line", {"<<fable"}, "fable", {"<<fable"}, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(c.file, c.key);
        f.marks.BMMenuClick();
        EXPECT_EQ(f.onDisk(), c.after);
        EXPECT_EQ(f.st.BookmarkSection, c.section);
        EXPECT_EQ(f.st.BookmarkSectionEnd, c.end);
        EXPECT_EQ(f.window.enabled, c.section + 1 < c.end);
    }
}

TEST(Bookmarks, CrOnlyLineEndsAreRead) {
    Fixture f;
    f.store.files[kPath] = "<<none\r<<fable\r#7 cr\r#3 older\r<<author\r";
    f.marks.BMMenuClick();
    EXPECT_EQ(f.st.BookmarkSection, 1);
    EXPECT_EQ(f.marks.FillBookmarkPopup(), 1);
    EXPECT_EQ(f.marks.popupCaptions()[0], "cr");
}

TEST(Bookmarks, AtMostNinetyEightListed) {
    Fixture f(numbered(120));
    f.marks.BMMenuClick();
    EXPECT_EQ(f.st.BookmarkSectionEnd, f.st.BookmarkSection + 99);
    EXPECT_EQ(f.marks.FillBookmarkPopup(), 97);
    EXPECT_EQ(f.marks.popupCaptions().front(), "mark 120");
    EXPECT_EQ(f.marks.popupCaptions().back(), "mark 23");
    EXPECT_EQ(f.onDisk().size(), 123u);  // the oldest stay in the file
}

TEST(Bookmarks, GotoAndItsBadInput) {
    struct Case {
        std::string line;
        std::int32_t drawnFrom;  // -1: nothing drawn
        std::string error;
    };
    const std::vector<Case> cases = {
        {"#1234 a name", 1234, ""},
        {"#-40 negative", 0, ""},
        {"#99999999 past the end", 99999999, ""},
        {"#12x3 typo", -1, "'12x3' is not a valid integer value"},
        {"# blank", -1, "'' is not a valid integer value"},
        {"#77", 77, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Fixture f({"<<none", "<<fable", c.line, "#1 older", "<<author"});
        f.marks.BMMenuClick();
        f.st.TopLine = 5;
        ASSERT_EQ(f.marks.FillBookmarkPopup(), 1);
        f.marks.BMGotoPopupHandler(0);
        if (c.drawnFrom < 0) {
            EXPECT_TRUE(f.drawn.empty());
            EXPECT_EQ(f.st.TopLine, 5);
            EXPECT_EQ(f.window.errors, std::vector<std::string>{c.error});
        } else {
            EXPECT_EQ(f.drawn, std::vector<std::int32_t>{c.drawnFrom});
            EXPECT_EQ(f.st.NextLine, c.drawnFrom + 10);
        }
        EXPECT_FALSE(f.st.ReadingMoved);
    }
}

TEST(Bookmarks, DeleteRemovesOnlyTheChosenLine) {
    Fixture f({"<<none", "<<fable", "#3 c", "#2 b", "#1 a", "<<author"});
    f.marks.BMMenuClick();
    f.marks.FillBookmarkPopup();
    f.marks.BMDeletePopupHandler(1);
    EXPECT_EQ(f.onDisk(), (std::vector<std::string>{"<<none", "<<fable", "#3 c", "#1 a", "<<author"}));
    f.marks.BMDeletePopupHandler(7);  // no such item: nothing happens
    EXPECT_EQ(f.onDisk().size(), 5u);
}

TEST(Bookmarks, AFailedSaveIsReportedAndKeptInMemory) {
    Fixture f;
    f.marks.BMMenuClick();
    f.store.failWrites = true;
    f.window.name = "Lion";
    f.marks.BMAddItemClick();
    EXPECT_EQ(f.window.errors, std::vector<std::string>{"Cannot create file " + kPath});
    EXPECT_EQ(f.onDisk(), kSeed);
    EXPECT_EQ((*f.st.BookmarkLines)[3], "#0 Lion");
}

TEST(Bookmarks, AddWithoutALoadedSectionAppends) {
    // The file was missing at the drop-down: the section index points past
    // the lines in memory, and the bookmark is appended.
    Fixture f;
    f.store.files.clear();
    f.marks.BMMenuClick();
    f.st.BookmarkSection = 1;
    f.window.name = "x";
    f.marks.BMAddItemClick();
    EXPECT_EQ(f.onDisk(), std::vector<std::string>{"#0 x"});
}

TEST(ClosingBookmark, WrittenOnlyWhenDueAndLoaded) {
    struct Case {
        const char* name;
        bool loaded, moved;
        bool written;
    };
    const std::vector<Case> cases = {
        {"paged after the lines were loaded", true, true, true},
        {"loaded but not paged", true, false, false},
        {"paged but the lines were never loaded", false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (c.loaded) f.marks.BMMenuClick();
        f.st.ReadingMoved = c.moved;
        f.st.TopLine = 2140;
        f.marks.WriteClosingBookmark();
        const auto disk = f.onDisk();
        EXPECT_EQ(disk.size(), c.written ? 5u : 4u);
        if (c.written) {
            EXPECT_EQ(disk[3], "#2140 Closed book at 3/7/2001 9:05:44 PM");
            EXPECT_FALSE(f.st.ReadingMoved);
            EXPECT_TRUE(f.st.BookmarkLines->empty());
            // Until the lines are loaded again, no second closing bookmark.
            f.st.ReadingMoved = true;
            f.marks.WriteClosingBookmark();
            EXPECT_EQ(f.onDisk().size(), 5u);
        }
    }
}

TEST(ClosingBookmark, MidnightLeavesTheTimeOut) {
    EXPECT_EQ(closingBookmarkName({"3/7/2001", "12:00:00 AM", true}), "Closed book at 3/7/2001");
    EXPECT_EQ(closingBookmarkName({"2001-03-07", "21:05:44", false}), "Closed book at 2001-03-07 21:05:44");
}

TEST(Bookmarks, NoActionLosesALineThatWasInTheFile) {
    // Every bookmark and header line of the file before an action is still
    // there after it, in order, but for the one line the reader deletes. (A
    // stray last line that is neither gives way to a new header.)
    Fixture f({"<<none", "<<title", "<<fable", "#9 nine", "#4 four", "<<author", "#1 stray", "tail"});
    auto keepsAll = [&](const std::vector<std::string>& before, std::size_t deleted = SIZE_MAX) {
        const auto after = f.onDisk();
        std::size_t j = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (i == deleted || !(before[i].rfind("#", 0) == 0 || before[i].rfind("<<", 0) == 0)) continue;
            while (j < after.size() && after[j] != before[i]) ++j;
            ASSERT_LT(j, after.size()) << "lost: " << before[i];
            ++j;
        }
    };
    auto before = f.onDisk();
    f.marks.BMMenuClick();
    keepsAll(before);
    before = f.onDisk();
    f.add("Lion", 44);
    keepsAll(before);
    before = f.onDisk();
    f.marks.BMMenuClick();
    f.marks.FillBookmarkPopup();
    f.marks.BMDeletePopupHandler(1);
    keepsAll(before, static_cast<std::size_t>(f.st.BookmarkSection + 2));
    before = f.onDisk();
    f.marks.BMMenuClick();
    f.st.ReadingMoved = true;
    f.marks.WriteClosingBookmark();
    keepsAll(before);
    before = f.onDisk();
    f.st.BookKey = "other";
    f.st.BookmarkLines = LineList();
    f.add("Elsewhere", 3);  // a new section replaces the stray "tail"
    keepsAll(before);
    EXPECT_EQ(f.onDisk().back(), "");
}

// A side file that cannot be read or written: what each bookmark action
// leaves on disk and which messages it shows. A file that is there but
// cannot be read is never written; a failure is shown once and ends the
// operation.
TEST(Bookmarks, FailuresLeaveTheFileAsItWasWithOneMessageEach) {
    // Unreadable since the text was opened, or from before; the disk is full
    // from before.
    enum class Trouble { unreadable, unreadableAtOpening, diskFull };
    enum class Action { add, addByAccelerator, remove, go, close };
    struct Case {
        const char* name;
        Trouble trouble;
        const char* key;
        Action action;
        std::vector<std::string> errors;
        int saves;  // writes attempted
    };
    const std::string cannotRead = "Cannot read file " + kPath;
    const std::string cannotCreate = "Cannot create file " + kPath;
    const std::vector<Case> cases = {
        {"unreadable: add", Trouble::unreadable, "fable", Action::add, {cannotRead}, 0},
        {"unreadable: delete", Trouble::unreadable, "fable", Action::remove, {cannotRead}, 0},
        {"unreadable: goto", Trouble::unreadable, "fable", Action::go, {}, 0},
        {"unreadable: closing bookmark", Trouble::unreadable, "fable", Action::close, {cannotRead}, 0},
        {"unreadable at opening: closing",
         Trouble::unreadableAtOpening,
         "none",
         Action::close,
         {cannotRead},
         0},
        {"unreadable at opening: add",
         Trouble::unreadableAtOpening,
         "fable",
         Action::addByAccelerator,
         {cannotRead},
         0},
        {"full disk: add", Trouble::diskFull, "fable", Action::add, {cannotCreate}, 1},
        {"full disk: closing bookmark", Trouble::diskFull, "fable", Action::close, {cannotCreate}, 1},
        // The section's header cannot be saved: the operation stops there.
        {"full disk, no section yet: closing", Trouble::diskFull, "none", Action::close, {cannotCreate}, 1},
        {"full disk, no section yet: Ctrl+B",
         Trouble::diskFull,
         "none",
         Action::addByAccelerator,
         {cannotCreate},
         1},
    };
    const std::vector<std::string> file = {"<<none",    "<<title", "<<fable",
                                           "#500 Lion", "#20 Fox", "<<author"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(file, c.key);
        const std::string bytes = f.store.files[kPath];
        if (c.trouble == Trouble::unreadableAtOpening) f.store.unreadable.insert(kPath);
        if (c.trouble == Trouble::diskFull) f.store.failWrites = true;
        f.marks.BMMenuClick();  // the text is opened
        if (c.trouble == Trouble::unreadable) f.store.unreadable.insert(kPath);
        f.window.errors.clear();
        f.store.saves = 0;
        f.st.TopLine = 1210;
        f.st.ReadingMoved = true;
        f.window.name = "Tortoise";
        switch (c.action) {
            case Action::add:
                f.marks.BMMenuClick();
                f.marks.BMAddItemClick();
                break;
            case Action::addByAccelerator:
                if (f.marks.BMMenuClick() != Bookmarks::SectionLoad::saveFailed) f.marks.BMAddItemClick();
                break;
            case Action::remove:
                f.marks.BMDeletePopupHandler(0);
                break;
            case Action::go:
                f.marks.BMMenuClick();
                f.marks.FillBookmarkPopup();
                f.marks.BMGotoPopupHandler(0);
                EXPECT_TRUE(f.marks.popupCaptions().empty());
                EXPECT_FALSE(f.window.enabled);
                EXPECT_TRUE(f.drawn.empty());
                break;
            case Action::close:
                f.marks.WriteClosingBookmark();
                break;
        }
        EXPECT_EQ(f.store.files[kPath], bytes) << "the file was written";
        EXPECT_EQ(f.window.errors, c.errors);
        EXPECT_EQ(f.store.saves, c.saves);
    }
}

// Once the file can be read again, the bookmarks work as before.
TEST(Bookmarks, AFileThatBecomesReadableAgainIsWrittenAgain) {
    Fixture f;
    f.store.unreadable.insert(kPath);
    f.marks.BMMenuClick();
    EXPECT_TRUE(f.marks.fileUnreadable());
    f.store.unreadable.clear();
    f.add("Lion", 1210);
    EXPECT_TRUE(f.window.errors.empty());
    EXPECT_EQ(f.onDisk(),
              (std::vector<std::string>{"<<none", "<<title", "<<fable", "#1210 Lion", "<<author"}));
}

TEST(Bookmarks, CancellingTheNameDialogAddsNothing) {
    struct CancellingWindow : FakeWindow {
        std::optional<std::string> askBookmarkName() override { return std::nullopt; }
    };
    ReaderState st;
    MemoryFileStore store;
    CancellingWindow window;
    varnet::testing::FunctionPlacer placer;
    Bookmarks marks{st, store, window, placer};
    st.BookmarkPath = kPath;
    st.BookmarkLines = LineList();
    st.BookKey = "fable";
    store.files[kPath] = LineList(kSeed).toBytes();
    marks.BMMenuClick();
    store.saves = 0;
    st.ReadingMoved = true;
    marks.BMAddItemClick();
    EXPECT_EQ(store.saves, 0);
    EXPECT_TRUE(window.notices.empty());
    EXPECT_TRUE(st.ReadingMoved);  // a cancelled add is no bookmark
    EXPECT_EQ(store.linesOf(kPath).strings(), kSeed);
}
