#include "FakeReaderWindow.h"
#include "FakeSurface.h"
#include "FileBytes.h"
#include "ReaderSession.h"
#include "TempFolder.h"

#include "BuiltinTexts.h"
#include "LineList.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace varnet;
using varnet::testing::contents;
using varnet::testing::FakeReaderWindow;
using varnet::testing::FakeSurface;
using varnet::testing::TempFolder;

namespace {

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A session over fakes, started in a temporary folder of its own with the
// text named on its command line, if any.
struct StartedSession {
    TempFolder tmp;
    FakeReaderWindow window;
    FakeSurface surface{800, 600};
    ReaderSession session{window, surface};
    explicit StartedSession(std::optional<std::string> commandLine = std::nullopt) {
        window.connect(session);
        session.start({tmp / "lib/varnet/varnet", tmp / "data/Quorra", std::move(commandLine)});
    }
};

}  // namespace

// A whole reading session, with no window system: start, open chapter 3 from
// the contents tree, page forward and back, search, add a bookmark, close;
// then both side files, byte for byte.
TEST(ReaderSession, AWholeReadingSessionWithoutAWindowSystem) {
    StartedSession started;
    const TempFolder& tmp = started.tmp;
    FakeReaderWindow& window = started.window;
    ReaderSession& session = started.session;
    ReaderState& st = session.state();
    ASSERT_TRUE(window.errors.empty()) << window.errors.front();
    EXPECT_EQ(st.SettingsPath, tmp / "data/Quorra/varnet.ini");
    EXPECT_EQ(st.BookmarkPath, tmp / "data/Quorra/varnet.bm");
    EXPECT_EQ(window.applicationTitle, "Mirrowen");
    EXPECT_EQ(window.catalogue.size(), 54u);  // every row but "(END)"
    EXPECT_EQ(window.settingsApplied, 1);
    EXPECT_EQ(window.fontSlider, 15);
    const std::string seeded = contents(st.BookmarkPath);
    ASSERT_FALSE(seeded.empty());

    // Chapter 3 from the contents tree.
    window.selectedNode = 5;
    session.catalogue().TOCTreeViewClick();
    ASSERT_TRUE(window.errors.empty());
    EXPECT_EQ(window.caption.rfind("Varnet -- ", 0), 0u);
    EXPECT_EQ(window.readingPageShown, 1);
    EXPECT_TRUE(window.questions.empty());  // an anchor was given: no resume offer
    const LineList& text = *st.CurrentText;
    ASSERT_GT(st.TopLine, 0);
    EXPECT_NE(text[st.TopLine - 1].find("refpt003"), std::string::npos);
    const std::int32_t chapterTop = st.TopLine;
    EXPECT_GT(window.panelsDrawn, 0);

    // Forward and back.
    session.paging().PageForward();
    EXPECT_GT(st.TopLine, chapterTop);
    const std::int32_t secondTop = st.TopLine;
    session.paging().PageForward();
    session.paging().PageBack();
    EXPECT_LT(st.TopLine, secondTop + (secondTop - chapterTop));
    EXPECT_GE(st.TopLine, chapterTop);

    // A search down from the panel on show finds the next line holding the
    // word, and the panel drawn holds it.
    const std::int32_t searchFrom = st.NextLine;
    window.find.text = "the";
    session.search().FindDialog1Find();
    EXPECT_EQ(window.find.closes, 0);
    ASSERT_GE(st.SearchFound, searchFrom);
    EXPECT_NE(lowered(removeTags(text[st.SearchFound])).find("the"), std::string::npos);
    EXPECT_LE(st.TopLine, st.SearchFound);
    EXPECT_GT(st.NextLine, st.SearchFound);

    // A named bookmark where the reader stands, then close.
    window.bookmarkName = "Lion";
    const std::int32_t markedLine = st.TopLine;
    ASSERT_EQ(session.bookmarks().BMMenuClick(), Bookmarks::SectionLoad::loaded);
    session.bookmarks().BMAddItemClick();
    session.paging().PageForward();
    const std::int32_t closedLine = st.TopLine;
    // The reader picks the dark scheme and a larger font, and moves the
    // window, before closing.
    window.setSchemeSelection(1);
    window.setFontSizePosition(18);
    EXPECT_EQ(st.FontSize, 18);
    EXPECT_EQ(st.TopLine, closedLine);
    window.bounds = {50, 60, 800, 700};
    session.close();
    EXPECT_TRUE(window.errors.empty());

    // The bookmark file: the seeded file with the named bookmark and the
    // closing bookmark at the head of the book's section, newest first.
    LineList expected = LineList::fromBytes(seeded);
    std::int32_t section = -1;
    for (std::int32_t k = 0; k < expected.count(); ++k)
        if (expected[k] == "<<fable") section = k;
    ASSERT_GE(section, 0);
    LineList marks;
    for (std::int32_t k = 0; k < expected.count(); ++k) {
        marks.add(expected[k]);
        if (k == section) {
            marks.add("#" + std::to_string(closedLine) + " Closed book at 12/10/2026 6:30:00 PM");
            marks.add("#" + std::to_string(markedLine) + " Lion");
        }
    }
    EXPECT_EQ(contents(st.BookmarkPath), marks.toBytes());

    // The settings file: the defaults written at start, with the window's
    // bounds and options as they stood at close.
    const std::string toc = "[" + tmp / "lib/varnet/varnet.toc" + "]\r\n";
    EXPECT_EQ(contents(st.SettingsPath), toc +
                                             "[how]\r\ndictionary=0\r\nfontsize=18\r\nbackground=1\r\n"
                                             "plainbkg=0\r\ntwocolor=0\r\ntwocolumn=0\r\n"
                                             "tleft=50\r\ntwidth=800\r\nttop=60\r\ntheight=700\r\n"
                                             "pleft=701\r\npwidth=300\r\nptop=0\r\npheight=400\r\n\r\n");
}

// The reader's place is kept however the text was opened: named on the
// command line of a first start (no bookmark file yet when it opens), or
// opened from the contents tree and read on after "Reset To Startup
// Defaults" (which loads the settings again).
TEST(ReaderSession, LeavingAnOpenedTextAfterPagingAlwaysKeepsItsPlace) {
    struct Case {
        const char* name;
        std::optional<std::string> commandLine;
        bool chapterAndReset;
        bool fileGone = false;  // the bookmark file deleted before the reset
    };
    for (const Case& c : {Case{"first start, text on the command line", "fable.qtx", false},
                          Case{"chapter from the tree, then a reset", std::nullopt, true},
                          Case{"chapter, its file deleted, then a reset", std::nullopt, true, true}}) {
        SCOPED_TRACE(c.name);
        StartedSession started(c.commandLine);
        FakeReaderWindow& window = started.window;
        ReaderSession& session = started.session;
        ReaderState& st = session.state();
        ASSERT_TRUE(window.errors.empty()) << window.errors.front();
        if (c.chapterAndReset) {
            window.selectedNode = 5;
            session.catalogue().TOCTreeViewClick();
            if (c.fileGone) std::filesystem::remove(st.BookmarkPath);
            session.ResetToStartupDefaults();
        }
        ASSERT_EQ(st.BookKey, "fable");
        session.paging().PageForward();
        session.paging().PageForward();
        const std::int32_t closedLine = st.TopLine;
        ASSERT_GT(closedLine, 0);
        session.close();
        EXPECT_TRUE(window.errors.empty());

        const LineList marks = LineList::fromBytes(contents(st.BookmarkPath));
        std::int32_t section = -1;
        for (std::int32_t k = 0; k + 1 < marks.count(); ++k)
            if (marks[k] == "<<fable") section = k;
        ASSERT_GE(section, 0);
        EXPECT_EQ(marks[section + 1],
                  "#" + std::to_string(closedLine) + " Closed book at 12/10/2026 6:30:00 PM");
    }
}
