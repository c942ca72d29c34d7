#include "FileBytes.h"
#include "MyBooks.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace varnet;
using varnet::testing::contents;
using varnet::testing::entriesIn;
using varnet::testing::put;
using varnet::testing::TempFolder;

namespace {

layout::LaidOutText smallText(const std::string& title) {
    layout::LaidOutText text;
    text.stored = {"header", "l00|b>" + title + "|n> ", "l00|refpt001> ", "l05Once upon a time "};
    text.chapterTitles = {"The Beginning", "The End"};
    text.indexLines = {"time|0002000003"};
    return text;
}

}  // namespace

// A stored book is three files under one key; reading the folder again
// lists it as stored, books sorted by title, and keys never clash with a
// built-in text's section or another book.
TEST(MyBooks, StoredBooksAreListedAgainByTitleUnderKeysOfTheirOwn) {
    TempFolder tmp;
    const std::string folder = tmp / "books/";
    MyBooks books(folder);
    struct Case {
        std::string title, key;
    } cases[] = {{"The Wolf & the Crane!", "the-wolf-the-crane"},
                 {"Fable", "fable-2"},  // the demo book's key is taken
                 {"fable", "fable-3"},
                 {"???", "book"},
                 {"Another Tale", "another-tale"}};
    for (const Case& c : cases) {
        const MyBooks::Stored stored = books.store(smallText(c.title), c.title, "Aesop", tmp / "src.txt");
        ASSERT_TRUE(stored.book) << stored.error;
        EXPECT_EQ(stored.book->key, c.key);
        const MyBookFiles files = books.filesOf(c.key);
        std::string lines;
        for (const std::string& line : smallText(c.title).stored) lines += line + "\r\n";
        EXPECT_EQ(contents(files.text), lines);
        EXPECT_EQ(contents(files.index), "time|0002000003\r\n");
    }

    MyBooks again(folder);
    EXPECT_TRUE(again.load().empty());
    std::vector<std::string> titles;
    for (const MyBook& b : again.books()) titles.push_back(b.title);
    EXPECT_EQ(titles,
              (std::vector<std::string>{"???", "Another Tale", "Fable", "fable", "The Wolf & the Crane!"}));
    const MyBook* wolf = again.find("the-wolf-the-crane");
    ASSERT_TRUE(wolf);
    EXPECT_EQ(wolf->author, "Aesop");
    EXPECT_EQ(wolf->chapters, (std::vector<std::string>{"The Beginning", "The End"}));
    EXPECT_TRUE(again.holds(folder + "fable-2.qtx"));
    EXPECT_FALSE(again.holds(folder + "sub/fable-2.qtx"));
    EXPECT_FALSE(again.holds(tmp / "fable-2.qtx"));
}

// The same file found however it is named; a field cannot break the card.
TEST(MyBooks, TheSourceIsFoundUnderAnyNameAndCardsKeepOneFieldPerLine) {
    TempFolder tmp;
    put(tmp / "shelf/tale.txt", "text");
    MyBooks books(tmp / "books/");
    const MyBooks::Stored stored = books.store(smallText("T"), "Two\nLines", "A\rB", tmp / "shelf/tale.txt");
    ASSERT_TRUE(stored.book);
    EXPECT_TRUE(books.findBySource(tmp / "shelf/../shelf/tale.txt"));
    EXPECT_FALSE(books.findBySource(tmp / "shelf/other.txt"));
    const auto card = parseCard("k", contents(books.filesOf(stored.book->key).card));
    ASSERT_TRUE(card);
    EXPECT_EQ(card->title, "Two Lines");
    EXPECT_EQ(card->author, "A B");
}

// A write that fails at any step leaves nothing of the book behind.
TEST(MyBooks, AFailedStoreLeavesNothingInTheFolder) {
    for (int failing = 0; failing < 3; ++failing) {
        SCOPED_TRACE(failing);
        TempFolder tmp;
        const std::string folder = tmp / "books/";
        MyBooks books(folder);
        int renames = 0;
        AtomicFile::setFailureHook(
            [&](AtomicFile::Step step) { return step == AtomicFile::Step::rename && renames++ == failing; });
        const MyBooks::Stored stored = books.store(smallText("Tale"), "Tale", "", tmp / "tale.txt");
        EXPECT_FALSE(stored.book);
        const std::string failedFile = failing == 0 ? "tale.qtx" : failing == 1 ? "tale.qdx" : "tale.book";
        EXPECT_EQ(stored.error.rfind("Cannot create file " + folder + failedFile + ": ", 0), 0u)
            << stored.error;
        EXPECT_EQ(entriesIn(folder), 0u);
        EXPECT_TRUE(books.books().empty());
        AtomicFile::setFailureHook({});
        EXPECT_TRUE(MyBooks(folder).load().empty());
    }
}

// Damaged books are skipped and named; the others are listed; removing a
// book takes its files, card first.
TEST(MyBooks, DamagedCardsAreSkippedAndRemovedBooksAreGone) {
    TempFolder tmp;
    const std::string folder = tmp / "books/";
    MyBooks books(folder);
    ASSERT_TRUE(books.store(smallText("Good"), "Good", "", tmp / "a.txt").book);
    put(folder + "nosig.book", "title=Forged\r\n");
    put(folder + "nosig.qtx", "x");
    put(folder + "notext.book", std::string(kCardSignature) + "\r\ntitle=Lost\r\n");
    put(folder + "untitled.book", std::string(kCardSignature) + "\r\nauthor=Nobody\r\n");
    put(folder + "untitled.qtx", "x");
    put(folder + "junk.book", std::string(kCardSignature) + "\r\nno field here\r\n");
    put(folder + "junk.qtx", "x");

    MyBooks again(folder);
    EXPECT_EQ(again.load(), (std::vector<std::string>{folder + "junk.book", folder + "nosig.book",
                                                      folder + "notext.book", folder + "untitled.book"}));
    ASSERT_EQ(again.books().size(), 1u);
    EXPECT_EQ(again.books()[0].title, "Good");

    ASSERT_TRUE(again.remove("good"));
    EXPECT_TRUE(again.books().empty());
    for (const char* ext : {".book", ".qtx", ".qdx"})
        EXPECT_FALSE(std::filesystem::exists(folder + "good" + ext));
    MyBooks third(folder);
    third.load();
    EXPECT_TRUE(third.books().empty());
}
