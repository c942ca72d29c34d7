// The import helper program and the reader's side of it: what the helper
// writes is read back as it was laid out, and a helper that is missing,
// crashes, hangs or answers nonsense gives one message naming the book.
#include "BookImporter.h"
#include "FileBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace varnet;
using varnet::testing::put;
using varnet::testing::TempFolder;

namespace {

std::string script(TempFolder& tmp, const std::string& name, const std::string& body) {
    const std::string path = tmp / name;
    put(path, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

}  // namespace

TEST(ImportHelper, AnAnswerReadsBackAsItWasWritten) {
    ImportOutcome book;
    book.book = ImportedText{
        {{"header", "l00|b>Title|n> ", "l05a line "}, {"One", "Two\nlines"}, {"word|0002000001"}},
        "Title",
        "Author"};
    const auto back = decodeOutcome(encodeOutcome(book));
    ASSERT_TRUE(back && back->book);
    EXPECT_EQ(back->book->title, "Title");
    EXPECT_EQ(back->book->author, "Author");
    EXPECT_EQ(back->book->text.stored, book.book->text.stored);
    EXPECT_EQ(back->book->text.chapterTitles, (std::vector<std::string>{"One", "Two lines"}));
    EXPECT_EQ(back->book->text.indexLines, book.book->text.indexLines);

    ImportOutcome failed;
    failed.error = "Cannot import x.txt: the file is empty";
    const auto error = decodeOutcome(encodeOutcome(failed));
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->book);
    EXPECT_EQ(error->error, failed.error);

    // Answers cut short or made up are not taken.
    const std::string whole = encodeOutcome(book);
    for (std::size_t cut : {std::size_t{0}, std::size_t{5}, whole.size() / 2, whole.size() - 1})
        EXPECT_FALSE(decodeOutcome(std::string_view(whole).substr(0, cut))) << cut;
    for (const char* bad : {"varnet-import 1\ntitle=T\nauthor=\nchapters 99999999999\n",
                            "varnet-import 1\ntitle=T\nauthor=\nchapters x\n", "varnet-import 2\nerror=x\n",
                            "varnet-import 1\nerror=\n"})
        EXPECT_FALSE(decodeOutcome(bad)) << bad;
}

TEST(ImportHelper, TheRealHelperImportsABookAndNamesAFailure) {
    TempFolder tmp;
    put(tmp / "fox.md",
        "# The Fox\n\n## Spring\n\nThe fox woke early and went down to the river to drink.\n");
    put(tmp / "empty.txt", "");
    HelperProcessImporter helper(VARNET_IMPORT_HELPER);
    const ImportOutcome fox = helper.importBook(tmp / "fox.md");
    ASSERT_TRUE(fox.book) << fox.error;
    EXPECT_EQ(fox.book->title, "The Fox");
    EXPECT_EQ(fox.book->text.chapterTitles, (std::vector<std::string>{"Spring"}));
    EXPECT_GT(fox.book->text.stored.size(), 5u);
    const ImportOutcome empty = helper.importBook(tmp / "empty.txt");
    EXPECT_FALSE(empty.book);
    EXPECT_EQ(empty.error.rfind("Cannot import " + tmp / "empty.txt" + ": ", 0), 0u) << empty.error;
}

TEST(ImportHelper, AHelperThatFailsGivesOneMessage) {
    TempFolder tmp;
    const std::string book = tmp / "book.txt";
    struct Case {
        const char* what;
        std::string helper;
        std::string reason;
    } cases[] = {
        {"missing", tmp / "no-such-helper",
         "the import helper " + tmp / "no-such-helper" + " could not be started"},
        {"crashes", script(tmp, "crash", "kill -SEGV $$"), "the import stopped unexpectedly"},
        {"hangs", script(tmp, "hang", "exec sleep 30"), "the import took too long and was stopped"},
        {"nonsense", script(tmp, "talk", "echo hello"),
         "the import helper " + tmp / "talk" + " gave no usable answer"},
        {"closes its answer and runs on", script(tmp, "linger", "exec >&-\nexec sleep 30"),
         "the import took too long and was stopped"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HelperProcessImporter helper(c.helper, 1);
        const ImportOutcome outcome = helper.importBook(book);
        EXPECT_FALSE(outcome.book);
        EXPECT_EQ(outcome.error.rfind("Cannot import " + book + ": " + c.reason, 0), 0u) << outcome.error;
    }
}
