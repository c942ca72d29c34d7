// The demo book as the program carries it: every fixed figure of its stored
// form, its opened (normalised) form, and its word index against its text.
#include "BookOpening.h"
#include "BuiltinTexts.h"
#include "EngineFakes.h"
#include "LineList.h"
#include "ReaderState.h"
#include "TextFormat.h"
#include "WordIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace varnet;

namespace {

const LineList& book() {
    static const LineList text = demoBookText();
    return text;
}

// The indent of an indent line ("l" and two digits), -1 for any other line.
int indentOf(std::string_view line) {
    if (line.size() < 3 || line[0] != 'l' || !std::isdigit(static_cast<unsigned char>(line[1])) ||
        !std::isdigit(static_cast<unsigned char>(line[2])))
        return -1;
    return (line[1] - '0') * 10 + (line[2] - '0');
}
bool isSectionBreak(std::string_view line) {
    return !line.empty() && line[0] == 's';
}
bool isAnchor(std::string_view line) {
    return line.find("|refpt") != std::string_view::npos;
}
bool endsWith(std::string_view s, std::string_view tail) {
    return s.ends_with(tail);
}
std::string threeDigits(int n) {
    char s[16];
    std::snprintf(s, sizeof s, "%03d", n);
    return s;
}

// The book as opening it leaves it in CurrentText, opened at chapter 1.
const ReaderState& openedBook() {
    static ReaderState state = [] {
        ReaderState st;
        varnet::testing::FakeOpeningHost host;
        BookOpening opening(st, host);
        opening.OpenBook("/books/fable.qtx", "refpt001");
        return st;
    }();
    return state;
}

}  // namespace

TEST(DemoBook, LinesInTheirPlaces) {
    const LineList& t = book();
    const DemoBookInfo& info = demoBookInfo();
    ASSERT_EQ(t.count(), 14254);
    EXPECT_EQ(t[0].rfind("StiloDemoReader ", 0), 0u);
    EXPECT_EQ(t[0].size(), 131u);
    for (int i = 1; i < t.count(); ++i) ASSERT_LT(t[i].size(), t[0].size()) << "line " << i;
    EXPECT_EQ(t[1], "l00|b>" + info.title + "|n> ");
    EXPECT_EQ(t[2], "p00by " + info.author + " 1 ");
    EXPECT_EQ(indentOf(t[3]), 0);
    EXPECT_EQ(t[4], "p002 ");
    EXPECT_EQ(t[5], "l00|p> ");

    int indentLines = 0, sections = 0;
    std::vector<int> anchors, pages;
    for (int i = 1; i < t.count(); ++i) {
        const std::string s(t[i]);
        if (indentOf(s) >= 0)
            ++indentLines;
        else if (isPageMarker(s))
            pages.push_back(i);
        else if (s == "s000 ")
            ++sections;
        else
            ADD_FAILURE() << "line " << i << " of no kind: " << s;
        if (isAnchor(s)) anchors.push_back(i);
    }
    EXPECT_EQ(indentLines, 11960);
    EXPECT_EQ(sections, 1183);

    // Page markers: the byline's, then "p002 " .. "p1110" without gaps, the
    // last one closing the book without a blank.
    ASSERT_EQ(pages.size(), 1110u);
    EXPECT_EQ(pages.front(), 2);
    EXPECT_EQ(pages.back(), t.count() - 1);
    for (std::size_t k = 1; k < pages.size(); ++k) {
        const int number = static_cast<int>(k) + 1;
        const std::string want = "p" + threeDigits(number) + (k + 1 == pages.size() ? "" : " ");
        ASSERT_EQ(t[pages[k]], want) << "line " << pages[k];
    }
    EXPECT_EQ(t[pages.back()], "p1110");

    // Chapters: anchor, heading (whole or split), page marker, "l00|p> ",
    // first phrase at indent 05; the headings carry the catalogue's titles.
    ASSERT_EQ(anchors.size(), 24u);
    ASSERT_EQ(info.chapterTitles.size(), 24u);
    EXPECT_EQ(anchors.front(), 69);
    int split = 0;
    for (int n = 1; n <= 24; ++n) {
        const int a = anchors[static_cast<std::size_t>(n - 1)];
        const std::string title(info.chapterTitles[static_cast<std::size_t>(n - 1)]);
        EXPECT_EQ(t[a], "l00|refpt" + threeDigits(n) + "> ");
        const std::string opening = "l00|b>" + std::to_string(n) + ".  ";
        int next = a + 2;
        if (endsWith(t[a + 1], "|n> ")) {
            EXPECT_EQ(t[a + 1], opening + title + "|n> ");
        } else {
            ++split;
            ++next;
            const std::string first(t[a + 1]);
            const std::string second(t[a + 2]);
            ASSERT_EQ(first.rfind(opening, 0), 0u) << first;
            ASSERT_TRUE(endsWith(first, "  ") && !endsWith(first, "   ")) << first;
            ASSERT_TRUE(second.rfind("l08", 0) == 0 && endsWith(second, "|n> ")) << second;
            EXPECT_EQ(first.substr(opening.size(), first.size() - opening.size() - 2) + " " +
                          second.substr(3, second.size() - 7),
                      title);
        }
        EXPECT_TRUE(isPageMarker(t[next])) << "chapter " << n;
        EXPECT_EQ(t[next + 1], "l00|p> ") << "chapter " << n;
        EXPECT_EQ(indentOf(t[next + 2]), 5) << "chapter " << n;
    }
    EXPECT_EQ(split, 14);
}

TEST(DemoBook, IndentProfile) {
    std::map<int, int> counts;
    for (const std::string& s : book().strings())
        if (indentOf(s) >= 0) ++counts[indentOf(s)];
    std::set<int> used, wanted = {0, 2, 5};
    for (int i = 7; i <= 32; ++i) wanted.insert(i);
    for (const auto& [indent, n] : counts) used.insert(indent);
    EXPECT_EQ(used, wanted);
    EXPECT_EQ(counts[5], 2274);
    EXPECT_EQ(counts[12], 1757);
    EXPECT_EQ(counts[10], 1187);
    EXPECT_EQ(counts[16], 1089);
    for (const auto& [indent, n] : counts)
        if (indent != 5 && indent != 12 && indent != 10 && indent != 16) {
            EXPECT_LT(n, 1089) << "indent " << indent;
        }
}

TEST(DemoBook, WhatFollowsEachMarker) {
    const LineList& t = book();
    std::map<std::string, int> afterSection, afterPage;
    int paragraphTags = 0;
    for (int i = 1; i < t.count(); ++i) {
        const std::string s(t[i]);
        const std::string next(i + 1 < t.count() ? t[i + 1] : std::string());
        if ((isPageMarker(s) || isSectionBreak(s)) && (isPageMarker(next) || isSectionBreak(next)))
            ADD_FAILURE() << "adjacent markers at line " << i;
        const int indent = indentOf(next);
        if (isSectionBreak(s)) ++afterSection[isAnchor(next) ? "anchor" : indent == 5 ? "05" : next];
        if (isPageMarker(s) && i + 1 < t.count()) {
            std::string kind = next == "l00|p> "                               ? "p"
                               : i + 1 == 3                                    ? "introduction"
                               : indent == 5                                   ? "05"
                               : (indent == 2 || indent == 17 || indent == 24) ? "02/17/24"
                                                                               : next;
            ++afterPage[kind];
        }
        if (s == "l00|p> ") {
            ++paragraphTags;
            EXPECT_TRUE(isPageMarker(t[i - 1])) << "line " << i;
            EXPECT_EQ(indent, 5) << "line " << i;
        }
    }
    EXPECT_EQ(afterSection, (std::map<std::string, int>{{"05", 1170}, {"anchor", 13}}));
    EXPECT_EQ(afterPage,
              (std::map<std::string, int>{{"05", 1076}, {"p", 27}, {"introduction", 1}, {"02/17/24", 5}}));
    EXPECT_EQ(paragraphTags, 27);
}

TEST(DemoBook, TagsAndLineEnds) {
    const LineList& t = book();
    std::map<std::string, int> tags;
    std::vector<int> withoutBlank;
    int twoBlanks = 0;
    for (int i = 1; i < t.count(); ++i) {
        const std::string s(t[i]);
        if (s.back() != ' ') withoutBlank.push_back(i);
        if (endsWith(s, "  ")) {
            ++twoBlanks;
            EXPECT_TRUE(s.rfind("l00|b>", 0) == 0 && endsWith(t[i + 1], "|n> ")) << "line " << i;
        }
        char open = 0;  // the colour not yet closed by |4>
        for (auto bar = s.find('|'); bar != std::string::npos; bar = s.find('|', bar + 1)) {
            const auto close = s.find('>', bar);
            ASSERT_NE(close, std::string::npos) << s;
            std::string tag = s.substr(bar, close - bar + 1);
            if (tag.rfind("|refpt", 0) == 0) {
                EXPECT_EQ(tag.size(), 10u) << s;
                tag = "anchor";
            }
            ++tags[tag];
            if (tag.size() == 3 && tag[1] >= '0' && tag[1] <= '9') {
                if (tag[1] == '4') {
                    EXPECT_NE(open, 0) << "|4> closes nothing in line " << i;
                    open = 0;
                } else {
                    EXPECT_EQ(open, 0) << "colour inside a colour in line " << i;
                    open = tag[1];
                }
            }
        }
        EXPECT_EQ(open, 0) << "line " << i << " ends in a colour: " << s;
    }
    EXPECT_EQ(tags, (std::map<std::string, int>{{"|4>", 7376},
                                                {"|9>", 4468},
                                                {"|7>", 1205},
                                                {"|8>", 1057},
                                                {"|6>", 646},
                                                {"|p>", 27},
                                                {"|b>", 25},
                                                {"|n>", 25},
                                                {"anchor", 24}}));
    // Besides the header only one indent line and the last page marker end
    // without a blank; the split headings' first lines end with two.
    ASSERT_EQ(withoutBlank.size(), 2u);
    EXPECT_GE(indentOf(t[withoutBlank[0]]), 0);
    EXPECT_EQ(withoutBlank[1], t.count() - 1);
    EXPECT_EQ(twoBlanks, 14);
}

TEST(DemoBook, OpenedFormIsSafeForTheReader) {
    const LineList& t = book();
    double phraseCharacters = 0;
    int phrases = 0;
    for (int i = 1; i < t.count(); ++i) {
        const std::string s(t[i]);
        EXPECT_GE(normaliseLine(s).size(), 3u) << "line " << i;
        const int indent = indentOf(s);
        if (indent < 0) {
            EXPECT_TRUE(s == "s000 " || s.find("s000") == std::string::npos) << s;
            EXPECT_EQ(s.find("refp"), std::string::npos) << s;
            continue;
        }
        const std::string body = s.substr(3);
        if (indent == 0 && !body.empty()) {
            EXPECT_TRUE(body[0] != 'p' && body[0] != 'r' && body[0] != 's') << "line " << i;
        }
        EXPECT_EQ(body.find("s000"), std::string::npos) << "line " << i;
        if (body.find("refp") != std::string::npos) {
            EXPECT_TRUE(isAnchor(s) && indent == 0) << "line " << i;
        }
        if (indent > 0) {
            phraseCharacters += static_cast<double>(trimmed(removeTags(body)).size());
            ++phrases;
        }
    }
    const double average = phraseCharacters / phrases;
    EXPECT_GT(average, 15.0);
    EXPECT_LT(average, 25.0);

    // Opening the book: 14,256 lines, chapter 1's anchor on line 68, and no
    // line the renderer would take for a break point by being too short.
    const LineList& opened = *openedBook().CurrentText;
    ASSERT_EQ(opened.count(), 14256);
    EXPECT_EQ(opened[68], "|refpt001> ");
    EXPECT_EQ(openedBook().NextLine, 69);
    for (int i = 0; i + 1 < opened.count(); ++i) EXPECT_GE(opened[i].size(), 3u) << "opened line " << i;
}

TEST(DemoBookIndex, EveryReferenceHoldsItsWordOnItsPage) {
    std::ifstream in(VARNET_SOURCE_DIR "/data/fable.qdx", std::ios::binary);
    ASSERT_TRUE(in);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    ASSERT_NE(bytes.str().find("\r\n"), std::string::npos);
    const LineList file = LineList::fromBytes(bytes.str());
    ASSERT_GT(file.count(), 1000);

    // Per opened line: its page (that of the last page marker at or before
    // it, 1 before the first) and its words in lower case.
    const LineList& opened = *openedBook().CurrentText;
    const int bookLines = opened.count() - 3;  // without end marker, closing and final line
    std::vector<int> page(static_cast<std::size_t>(bookLines));
    std::map<std::string, std::set<int>> linesOf;
    int current = 1;
    for (int i = 0; i < bookLines; ++i) {
        const std::string s(opened[i]);
        if (isPageMarker(s)) {
            // "p002 ", "p1110", or the byline's "p00by Aesop 1 ": its last number.
            const auto digits = s.find_last_of("0123456789");
            const auto from = s.find_last_not_of("0123456789", digits);
            current = std::stoi(s.substr(from == std::string::npos ? 0 : from + 1));
        }
        page[static_cast<std::size_t>(i)] = current;
        if (isPageMarker(s) || isSectionBreak(s) || isAnchor(s)) continue;
        const std::string text = lowerAscii(removeTags(s));
        for (std::size_t b = 0; b < text.size();) {
            if (!std::isalpha(static_cast<unsigned char>(text[b]))) {
                ++b;
                continue;
            }
            std::size_t e = b;
            while (e < text.size() && std::isalpha(static_cast<unsigned char>(text[e]))) ++e;
            linesOf[text.substr(b, e - b)].insert(i);
            b = e;
        }
    }

    // The reader's own loader splits the file; each word's references must be
    // exactly the lines that hold the word, each with the page of its line.
    const LineList prepared = prepareIndexLines(file);
    const std::vector<IndexNode> tree = buildIndexTree(prepared);
    ASSERT_EQ(tree.size(), static_cast<std::size_t>(prepared.count()));
    std::string previousWord;
    std::set<char> letters;
    int words = 0, references = 0;
    for (std::size_t n = 1; n < tree.size();) {
        const std::string line(prepared[static_cast<std::int32_t>(n)]);
        if (line.size() == 1) {
            letters.insert(line[0]);
            ++n;
            continue;
        }
        ASSERT_NE(line[0], '|') << "a reference without its word at line " << n;
        const std::string word = lowerAscii(line);
        EXPECT_GE(word.size(), 4u) << line;
        EXPECT_LT(previousWord, word) << "index out of order at " << line;
        previousWord = word;
        ++words;
        std::set<int> referenced;
        for (++n; n < tree.size() && prepared[static_cast<std::int32_t>(n)][0] == '|'; ++n) {
            const std::string ref(prepared[static_cast<std::int32_t>(n)]);
            ASSERT_EQ(ref.size(), 10u) << ref;
            const int target = std::stoi(ref.substr(5));
            ASSERT_TRUE(target >= 0 && target < bookLines) << ref;
            EXPECT_EQ(tree[n].text, "  " + ref.substr(5));
            EXPECT_EQ(std::stoi(ref.substr(1, 4)), page[static_cast<std::size_t>(target)]) << word << ref;
            referenced.insert(target);
            ++references;
        }
        EXPECT_EQ(referenced, linesOf[word]) << word;
    }
    EXPECT_EQ(letters.size(),
              static_cast<std::size_t>(std::count_if(
                  tree.begin(), tree.end(), [](const IndexNode& node) { return node.parent == 0; })));
    EXPECT_GT(words, 1000);
    EXPECT_GT(references, words);
}
