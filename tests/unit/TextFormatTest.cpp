#include "TextFormat.h"

#include <gtest/gtest.h>

using namespace varnet;

TEST(TextFormat, NormalisesStoredLines) {
    struct Case {
        std::string stored, normalised;
    };
    const std::vector<Case> cases = {
        {"l00", ""},
        {"l05word ", "     word "},
        {"l60deep", std::string(52, ' ') + "deep"},
        {"l52x", std::string(52, ' ') + "x"},
        {"l00|refpt001> ", "|refpt001> "},
        {"l00|p> ", "|p> "},
        {"l08END OF FILE", "        END OF FILE"},
        {"p00by Aesop 1 ", "p00by Aesop 1 "},
        {"p002 ", "p002 "},
        {"s000 ", "s000 "},
        {"", ""},
        {" ", " "},
        {"header line", "header line"},
        // Codes cut short or not made of digits: never read past the end.
        {"l", ""},
        {"l0", ""},
        {"l7", "       "},
        {"lx5body", "body"},
        {"l4xbody", "    body"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(normaliseLine(c.stored), c.normalised);
    }
}

TEST(TextFormat, LineKinds) {
    EXPECT_TRUE(isPageMarker("p999"));
    EXPECT_FALSE(isPageMarker(" p"));
    EXPECT_FALSE(isPageMarker(""));
    EXPECT_TRUE(holdsSectionBreak("     s000 "));
    EXPECT_TRUE(beginsSectionBreak("s000 "));
    EXPECT_TRUE(isAnchorLine("|refpt001> "));
    for (const char* line : {"", " ", "ab", "p1", "s", "rest of it", "p002 "})
        EXPECT_TRUE(isPanelBreakPoint(line)) << line;
    for (const char* line : {"abc", "     word", "|p> "}) EXPECT_FALSE(isPanelBreakPoint(line)) << line;
    for (const char* line : {"", " ", "p002 ", "s000 "}) EXPECT_TRUE(isPageBackStop(line)) << line;
    for (const char* line : {"ab", "rest", "     word"}) EXPECT_FALSE(isPageBackStop(line)) << line;
}

TEST(TextFormat, RemovesTagsLikeRepeatedFirstBarDeletion) {
    struct Case {
        std::string line, plain;
    };
    const std::vector<Case> cases = {
        {"     |7>Fox|4> ran ", "     Fox ran "},
        {"|b>1.  Title|n> ", "1.  Title "},
        {"|refpt001> ", "fpt001> "},
        {"a||bc", "ac"},
        {"end|", "end"},
        {"end|4", "end"},
        {"|image>pic.bmp", "age>pic.bmp"},
    };
    for (const auto& c : cases) EXPECT_EQ(removeTags(c.line), c.plain) << c.line;
}

TEST(TextFormat, TrimAndLowerTouchOnlyWhatTheyShould) {
    EXPECT_EQ(trimmed("\t  a b \r\n"), "a b");
    EXPECT_EQ(trimmed("   "), "");
    EXPECT_EQ(lowerAscii("AbZ\xC9"), "abz\xC9");
}
