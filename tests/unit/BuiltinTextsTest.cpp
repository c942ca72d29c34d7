#include "BuiltinTexts.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

using namespace varnet;

namespace {
std::string blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}
}  // namespace

TEST(BuiltinTexts, WelcomeTextAsTabulated) {
    const LineList t = welcomeText();
    ASSERT_EQ(t.count(), 31);
    EXPECT_EQ(t[0].rfind("StiloDemoReader ", 0), 0u);
    // Every line with its count of blanks after "l00"; "" marks a bare "l00".
    const std::vector<std::pair<int, std::string>> body = {{5, "Welcome to Stilo!"},
                                                           {0, ""},
                                                           {6, "Select a Book"},
                                                           {12, "from the list"},
                                                           {10, "by clicking on its title."},
                                                           {0, ""},
                                                           {5, "If the Book is large"},
                                                           {9, "and has several sections,"},
                                                           {12, "there will be"},
                                                           {16, "a small box"},
                                                           {14, "with a"},
                                                           {10, "\"+\""},
                                                           {13, "in the box."},
                                                           {0, ""},
                                                           {5, "Click on the"},
                                                           {10, "\"+\""},
                                                           {13, "to see the sections"},
                                                           {16, "of the Book."},
                                                           {0, ""},
                                                           {5, "You can also"},
                                                           {11, "use the PageUp"},
                                                           {16, "and PageDown keys"},
                                                           {15, "to move through the text."},
                                                           {0, ""},
                                                           {5, "When you select a story,"},
                                                           {12, "this Reading Window"},
                                                           {13, "will move"},
                                                           {20, "to the front"},
                                                           {24, "of the other windows."},
                                                           {0, ""}};
    for (std::size_t k = 0; k < body.size(); ++k)
        EXPECT_EQ(t[static_cast<int>(k) + 1], "l00" + blanks(body[k].first) + body[k].second) << k + 1;
}

TEST(BuiltinTexts, TitleAndAuthorListsDifferInOneLine) {
    const LineList title = titleListText();
    const LineList author = authorListText();
    const std::vector<std::string> expected = {"l00",
                                               "l00   This is a list",
                                               "l00      of books listed",
                                               "l00        by the title",
                                               "l00       of the book.",
                                               "l00",
                                               "l00"};
    ASSERT_EQ(title.count(), 8);
    ASSERT_EQ(author.count(), 8);
    for (int k = 1; k < 8; ++k) {
        EXPECT_EQ(title[k], expected[static_cast<std::size_t>(k - 1)]);
        EXPECT_EQ(author[k], k == 4 ? "l00        by the author" : title[k]);
    }
}

TEST(BuiltinTexts, AuthorTextCarriesTheEntryInBold) {
    const LineList t = authorText();
    ASSERT_EQ(t.count(), 5);
    EXPECT_EQ(t[1], "l00|b>");
    EXPECT_EQ(t[2], "l04" + demoBookInfo().authorEntry);
    EXPECT_EQ(t[3], "l00|n>");
    EXPECT_EQ(t[4], "p000");
    EXPECT_NE(demoBookInfo().authorEntry.find('['), std::string::npos);
    EXPECT_EQ(demoBookInfo().authorEntry.find('|'), std::string::npos);
}

TEST(BuiltinTexts, StartupInstructionsAsTabulated) {
    const LineList& t = startupInstructions();
    const std::vector<std::pair<int, std::string>> rows = {{0, ""},
                                                           {0, "Select a Book"},
                                                           {7, "from the Table of Contents"},
                                                           {5, "by clicking on the title."},
                                                           {0, ""},
                                                           {0, "If the Book is large"},
                                                           {4, "and has several sections,"},
                                                           {7, "there will be"},
                                                           {11, "a small box"},
                                                           {9, "with a"},
                                                           {5, "\"+\""},
                                                           {8, "in the box."},
                                                           {0, ""},
                                                           {0, "Click on the"},
                                                           {5, "\"+\""},
                                                           {8, "to see the sections"},
                                                           {11, "of the Book."},
                                                           {0, ""},
                                                           {0, "p000"}};
    ASSERT_EQ(t.count(), 19);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::string expected = rows[k].second.empty() ? " " : blanks(rows[k].first) + rows[k].second;
        EXPECT_EQ(t[static_cast<int>(k)], expected) << k;
    }
}

TEST(BuiltinTexts, EveryStoredLineIsWellFormed) {
    // All short pages and the demo book share the header and keep to the
    // line format: codes the reader knows, tags that close, no stray "refp".
    for (const LineList& text :
         {welcomeText(), titleListText(), authorListText(), authorText(), demoBookText()}) {
        ASSERT_GT(text.count(), 1);
        EXPECT_EQ(text[0], demoBookInfo().header);
        for (int i = 1; i < text.count(); ++i) {
            const std::string line(text[i]);
            ASSERT_FALSE(line.empty());
            EXPECT_TRUE(line[0] == 'l' || line[0] == 'p' || line[0] == 's') << line;
            if (line[0] == 'l') {
                ASSERT_GE(line.size(), 3u) << line;
                EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(line[1])) &&
                            std::isdigit(static_cast<unsigned char>(line[2])))
                    << line;
            }
            for (auto bar = line.find('|'); bar != std::string::npos; bar = line.find('|', bar + 1))
                EXPECT_NE(line.find('>', bar), std::string::npos) << line;
        }
    }
}

TEST(BuiltinTexts, DemoBookSkeleton) {
    ReaderState st;
    BuildDemoText(st);
    ASSERT_TRUE(st.DemoText);
    const LineList t = *st.DemoText;
    EXPECT_EQ(t[1], "l00|b>" + demoBookInfo().title + "|n> ");
    EXPECT_EQ(t[2].rfind("p00by " + demoBookInfo().author + " 1", 0), 0u);
    EXPECT_EQ(t[4], "p002 ");
    EXPECT_EQ(t[5], "l00|p> ");
    EXPECT_NE(t.strings().back().front(), 'l');
    EXPECT_NE(t.strings().back().back(), ' ');  // the last page marker has no blank
    int anchors = 0;
    for (int i = 0; i < t.count(); ++i)
        if (t[i].find("|refpt") != std::string::npos) {
            ++anchors;
            char want[32];
            std::snprintf(want, sizeof want, "l00|refpt%03d> ", anchors);
            EXPECT_EQ(t[i], want);
            EXPECT_EQ(t[i + 1].rfind("l00|b>" + std::to_string(anchors) + ".  ", 0), 0u);
        }
    EXPECT_GE(anchors, 3);
    // Building again makes a fresh list.
    st.DemoText->add("extra");
    BuildDemoText(st);
    EXPECT_EQ(*st.DemoText, t);
}
