#include "FakeReaderWindow.h"
#include "FakeSurface.h"
#include "FileBytes.h"
#include "InProcessImporter.h"
#include "ReaderSession.h"
#include "TempFolder.h"

#include "LineList.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace varnet;
using varnet::testing::contents;
using varnet::testing::entriesIn;
using varnet::testing::FakeReaderWindow;
using varnet::testing::FakeSurface;
using varnet::testing::put;
using varnet::testing::TempFolder;

namespace {

// A small book of the reader's own: a title and two chapters.
const char* const kFoxBook =
    "# The Fox's Year\n"
    "\n"
    "## Spring\n"
    "\n"
    "The fox woke early in the spring, when the snow was still lying in the hollows of the wood, "
    "and went down to the river to drink. The water was cold and quick, and it carried the last ice "
    "of the winter past her paws.\n"
    "\n"
    "She watched the geese come back from the south in long grey lines, calling to each other "
    "over the fields, and she thought of the lean days behind her.\n"
    "\n"
    "## Summer\n"
    "\n"
    "In the summer the cubs played at the mouth of the den while their mother slept in the shade "
    "of the old oak. A heron stood in the shallows without moving for an hour at a time.\n";

constexpr std::int32_t kBuiltInNodes = 54;

struct Reader {
    TempFolder& tmp;
    FakeReaderWindow window;
    FakeSurface surface{800, 600};
    InProcessImporter importer;
    ReaderSession session{window, surface, diskFileStore(), &importer};

    explicit Reader(TempFolder& t, std::optional<std::string> named = std::nullopt) : tmp(t) {
        window.connect(session);
        session.start({tmp / "lib/varnet/varnet", tmp / "data/Quorra", std::move(named)});
    }
    std::string books() const { return tmp / "data/Quorra/books/"; }
    void click(std::int32_t node) {
        window.selectedNode = node;
        session.contentsTreeClicked();
    }
};

}  // namespace

// Import, read a chapter, close; start again and resume; import the same
// file again; remove the book and keep its bookmarks.
TEST(MyBooksSession, ImportReadCloseResumeAndRemove) {
    TempFolder tmp;
    const std::string source = tmp / "shelf/fox.md";
    put(source, kFoxBook);
    std::string key;
    std::int32_t closedLine = 0;
    {
        Reader r(tmp);
        ReaderState& st = r.session.state();
        EXPECT_EQ(r.window.catalogue.size(), static_cast<std::size_t>(kBuiltInNodes));  // no My Books yet
        r.session.importBook(source);
        ASSERT_TRUE(r.window.errors.empty()) << r.window.errors.front();
        // My Books after every built-in node: the book, then its chapters.
        ASSERT_EQ(r.window.catalogue.size(), static_cast<std::size_t>(kBuiltInNodes + 4));
        EXPECT_EQ(r.window.catalogue[kBuiltInNodes].text, "My Books");
        EXPECT_EQ(r.window.catalogue[kBuiltInNodes].parent, -1);
        EXPECT_EQ(r.window.catalogue[kBuiltInNodes + 1].text, "The Fox's Year");
        EXPECT_EQ(r.window.catalogue[kBuiltInNodes + 2].text, "1.  Spring");
        EXPECT_EQ(r.window.catalogue[kBuiltInNodes + 3].text, "2.  Summer");
        EXPECT_EQ(r.window.catalogue[kBuiltInNodes + 3].parent, kBuiltInNodes + 1);
        EXPECT_EQ(r.window.selectedNode, kBuiltInNodes + 1);
        // Opened at its start on the Reading page, under its title.
        EXPECT_EQ(r.window.caption, "Varnet -- The Fox's Year");
        EXPECT_EQ(r.window.readingPageShown, 1);
        EXPECT_EQ(st.TopLine, 0);
        key = st.BookKey;
        EXPECT_EQ(st.OpenFileName, r.books() + key + ".qtx");
        EXPECT_EQ(entriesIn(r.books()), 3u);
        EXPECT_TRUE(r.session.hasWordIndex());

        // The second chapter from the tree opens after its anchor.
        r.click(kBuiltInNodes + 3);
        const LineList& text = *st.CurrentText;
        ASSERT_GT(st.TopLine, 0);
        EXPECT_NE(text[st.TopLine - 1].find(anchorName(2)), std::string::npos);
        EXPECT_NE(removeTags(text[st.TopLine]).find("Summer"), std::string::npos);
        r.click(kBuiltInNodes + 2);
        r.session.paging().PageForward();
        closedLine = st.TopLine;
        r.session.close();
        EXPECT_TRUE(r.window.errors.empty());
    }
    const std::string marks = contents(tmp / "data/Quorra/varnet.bm");
    EXPECT_NE(marks.find("<<" + key + "\r\n#" + std::to_string(closedLine) + " Closed book at "),
              std::string::npos)
        << marks;

    Reader again(tmp);
    ASSERT_TRUE(again.window.errors.empty());
    ASSERT_EQ(again.window.catalogue.size(), static_cast<std::size_t>(kBuiltInNodes + 4));
    again.window.answer = true;
    again.click(kBuiltInNodes + 1);  // the book: opened at its start, with the offer to resume
    ASSERT_EQ(again.window.questions.size(), 1u);
    EXPECT_EQ(again.session.state().TopLine, closedLine);

    // The same file again is opened, not imported twice, and its node selected.
    again.window.selectedNode = 0;
    const int shown = again.window.readingPageShown;
    again.session.importBook(tmp / "shelf/../shelf/fox.md");
    EXPECT_EQ(entriesIn(again.books()), 3u);
    EXPECT_EQ(again.window.catalogue.size(), static_cast<std::size_t>(kBuiltInNodes + 4));
    EXPECT_EQ(again.window.readingPageShown, shown + 1);
    EXPECT_EQ(again.window.selectedNode, kBuiltInNodes + 1);
    EXPECT_EQ(again.session.state().OpenFileName, again.books() + key + ".qtx");
    EXPECT_EQ(again.window.caption, "Varnet -- The Fox's Year");

    // Remove it: after the question, the files and nodes go, the bookmarks stay.
    again.window.selectedNode = kBuiltInNodes + 2;  // a chapter names its book too
    ASSERT_TRUE(again.session.selectedOwnBook());
    again.window.answer = false;
    EXPECT_FALSE(again.session.removeSelectedBook());
    EXPECT_EQ(entriesIn(again.books()), 3u);
    again.window.answer = true;
    EXPECT_TRUE(again.session.removeSelectedBook());
    EXPECT_EQ(again.window.questions.back().first,
              "Remove \"The Fox's Year\" from My Books? Its bookmarks are kept.");
    EXPECT_EQ(entriesIn(again.books()), 0u);
    EXPECT_EQ(again.window.catalogue.size(), static_cast<std::size_t>(kBuiltInNodes));
    again.session.close();
    EXPECT_NE(contents(tmp / "data/Quorra/varnet.bm").find("<<" + key + "\r\n"), std::string::npos);
}

// A book named on the command line is imported and opened at start-up, and
// opened again from My Books the next time.
TEST(MyBooksSession, ABookOnTheCommandLineIsImportedOnceAndOpened) {
    TempFolder tmp;
    put(tmp / "fox.md", kFoxBook);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        Reader r(tmp, tmp / "fox.md");
        ASSERT_TRUE(r.window.errors.empty()) << r.window.errors.front();
        EXPECT_EQ(r.window.caption, "Varnet -- The Fox's Year");
        EXPECT_EQ(r.session.state().OpenFileName.rfind(r.books(), 0), 0u);
        EXPECT_EQ(entriesIn(r.books()), 3u);
        r.session.close();
    }
}

// What cannot be imported or stored gives one message and keeps nothing; a
// damaged book is skipped at start with one message; the reader goes on.
TEST(MyBooksSession, FailuresGiveOneMessageAndKeepNothing) {
    TempFolder tmp;
    put(tmp / "empty.txt", "");
    put(tmp / "fox.md", kFoxBook);
    {
        Reader r(tmp);
        r.session.importBook(tmp / "empty.txt");
        ASSERT_EQ(r.window.errors.size(), 1u);
        EXPECT_EQ(r.window.errors[0].rfind("Cannot import " + tmp / "empty.txt" + ": ", 0), 0u);
        EXPECT_EQ(entriesIn(r.books()), 0u);

        // A full disk while storing.
        AtomicFile::setFailureHook([](AtomicFile::Step step) { return step == AtomicFile::Step::write; });
        r.session.importBook(tmp / "fox.md");
        AtomicFile::setFailureHook({});
        ASSERT_EQ(r.window.errors.size(), 2u);
        EXPECT_EQ(r.window.errors[1].rfind("Cannot create file " + r.books(), 0), 0u) << r.window.errors[1];
        EXPECT_EQ(entriesIn(r.books()), 0u);
        EXPECT_EQ(r.window.catalogue.size(), static_cast<std::size_t>(kBuiltInNodes));

        r.session.importBook(tmp / "fox.md");
        EXPECT_EQ(r.window.errors.size(), 2u);
        r.session.close();
    }
    // A card damaged by hand: skipped with one message naming it.
    const std::string books = tmp / "data/Quorra/books/";
    put(books + "broken.book", "not a card");
    put(books + "broken.qtx", "x");
    Reader r(tmp);
    ASSERT_EQ(r.window.errors.size(), 1u);
    EXPECT_EQ(r.window.errors[0], std::string(kSkippedDamagedBooks) + books + "broken.book");
    EXPECT_EQ(r.window.catalogue.size(), static_cast<std::size_t>(kBuiltInNodes + 4));
}

// Removing the book on show takes it off the screen too; a new book of the
// same title is then shown as itself, under a key of its own, and is not
// offered the removed book's places.
TEST(MyBooksSession, RemovingTheOpenBookThenImportingAnotherOfTheSameTitle) {
    TempFolder tmp;
    put(tmp / "old/fox.md", kFoxBook);
    put(tmp / "new/fox.md",
        "# The Fox's Year\n\n## Winter\n\nA wholly different winter tale of a grey wolf.\n");
    Reader r(tmp);
    r.session.importBook(tmp / "old/fox.md");
    const std::string oldKey = r.session.state().BookKey;
    r.session.paging().PageForward();
    r.window.selectedNode = kBuiltInNodes + 1;
    r.window.answer = true;
    ASSERT_TRUE(r.session.removeSelectedBook());
    EXPECT_EQ(r.session.state().BookKey, "none");
    EXPECT_EQ(r.window.caption, "Varnet");
    EXPECT_FALSE(r.session.hasWordIndex());

    r.window.questions.clear();
    r.session.importBook(tmp / "new/fox.md");
    ASSERT_TRUE(r.window.errors.empty()) << r.window.errors.front();
    EXPECT_NE(r.session.state().BookKey, oldKey);
    EXPECT_TRUE(r.window.questions.empty());  // no offer to resume the old book's place
    std::string text;
    for (const std::string& line : r.session.state().CurrentText->strings()) text += removeTags(line);
    EXPECT_NE(text.find("wolf"), std::string::npos);
    EXPECT_EQ(text.find("heron"), std::string::npos);
    r.session.close();
}
