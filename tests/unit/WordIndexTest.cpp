#include "EngineFakes.h"
#include "WordIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace varnet;

namespace {

char lowerByte(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The two preparation passes and the root line done the plain way, one
// insertion into the list at a time: quadratic, but each step reads as the
// loader's rule says. Expects no empty line.
std::vector<std::string> literalPreparation(std::vector<std::string> lines) {
    std::string previous = " ";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const char first = lowerByte(lines[i][0]);
        if (first != lowerByte(previous[0])) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), std::string(1, first));
            previous = lines[i + 1];
        }
    }
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::string line = lines[i];
        const std::size_t n = line.size();
        if (n > 10 && line[n - 10] == '|') {
            lines[i] = line.substr(0, n - 10);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i + 1), line.substr(n - 10));
        } else if (n > 11 && line[n - 11] == '|') {
            lines[i] = line.substr(0, n - 11);
            std::size_t place = i + 1;
            while (place < lines.size() - 1 && lines[place][0] == '|' && lines[place].size() < 11) ++place;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place), line.substr(n - 11));
        } else {
            ++i;
        }
    }
    lines.insert(lines.begin(), "Index");
    return lines;
}

std::vector<std::string> withoutEmptyLines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines)
        if (!l.empty()) out.push_back(l);
    return out;
}

std::vector<std::string> prepared(std::vector<std::string> fileLines) {
    return prepareIndexLines(LineList(std::move(fileLines))).strings();
}

using Lines = std::vector<std::string>;
using Nodes = std::vector<IndexNode>;

const Lines kWorkedExample = {"Anvil|000000120|000000348", "anchor|000001022", "Basket|0000012345|000000077",
                              "bell|000000530"};

}  // namespace

TEST(WordIndex, WorkedExample) {
    const LineList lines = prepareIndexLines(LineList(kWorkedExample));
    EXPECT_EQ(lines.strings(),
              (Lines{"Index", "a", "Anvil", "|000000120", "|000000348", "anchor", "|000001022", "b", "Basket",
                     "|000000077", "|0000012345", "bell", "|000000530"}));
    EXPECT_EQ(buildIndexTree(lines), (Nodes{{"Index", -1},
                                            {"a", 0},
                                            {"Anvil", 1},
                                            {"  00120", 2},
                                            {"  00348", 2},
                                            {"anchor", 1},
                                            {"  01022", 5},
                                            {"b", 0},
                                            {"Basket", 7},
                                            {"  00077", 8},
                                            {"  012345", 8},
                                            {"bell", 7},
                                            {"  00530", 11}}));

    ReaderState st;
    st.LastIndexEntry = " ";
    std::vector<std::int32_t> drawn;
    varnet::testing::FunctionPlacer draw([&](std::int32_t line) {
        drawn.push_back(line);
        st.TopLine = line;
        return line + 20;
    });
    EXPECT_TRUE(followIndexNode(st, std::string("  00120"), draw));
    EXPECT_EQ(st.LastIndexEntry, "00120");
    EXPECT_EQ(st.TopLine, 115);
    EXPECT_EQ(st.NextLine, 135);
    EXPECT_FALSE(followIndexNode(st, std::string("  00120"), draw));
    EXPECT_TRUE(followIndexNode(st, std::string("  012345"), draw));
    EXPECT_FALSE(followIndexNode(st, std::nullopt, draw));
    EXPECT_EQ(drawn, (std::vector<std::int32_t>{115, 12340}));
    EXPECT_EQ(st.LastIndexEntry, "012345");
}

TEST(WordIndex, SplittingAndGrouping) {
    struct Case {
        const char* name;
        Lines file, lines;
    };
    const std::vector<Case> cases = {
        {"a lone short reference of ten characters stays whole",
         {"|000000120"},
         {"Index", "|", "|000000120"}},
        {"eleven characters with a bar tenth from the end",
         {"x|000000120"},
         {"Index", "x", "x", "|000000120"}},
        {"eleven characters without one", {"xy|00000012"}, {"Index", "x", "xy|00000012"}},
        {"twelve characters, a long reference", {"x|0000012345"}, {"Index", "x", "x", "|0000012345"}},
        {"references of wrong lengths stay in the entry",
         {"word|00000012", "wood|000000000123"},
         {"Index", "w", "word|00000012", "wood|000000000123"}},
        {"groups ignore case; a blank first line gets no letter",
         {" note|000000007", "Apple", "apple", "Bee", "axe"},
         {"Index", " note", "|000000007", "a", "Apple", "apple", "b", "Bee", "a", "axe"}},
        {"a one-letter word with its references",
         {"anvil|000000348", "a|000000120"},
         {"Index", "a", "anvil", "|000000348", "a", "|000000120"}},
        {"a long reference passes the short ones after it",
         {"ox|0000000001|000000002|000000003|0000000004", "oak"},
         {"Index", "o", "ox", "|000000002", "|000000003", "|0000000001", "|0000000004", "oak"}},
        {"but goes before the list's last line",
         {"ox|0000000001|000000002|000000003"},
         {"Index", "o", "ox", "|000000002", "|0000000001", "|000000003"}},
        {"and passes short lines of the list that follow",
         {"ox|0000000001", "|ab", "|cd", "pig"},
         {"Index", "o", "ox", "|", "|ab", "|cd", "|0000000001", "p", "pig"}},
        {"of two bars the later opens a short reference",
         {"ox||000000001"},
         {"Index", "o", "ox|", "|000000001"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(prepared(c.file), c.lines);
        EXPECT_EQ(literalPreparation(c.file), c.lines);
    }
}

TEST(WordIndex, TreeNodes) {
    // A word before any letter, and references before any word, are top-level
    // nodes; a one-character "|" is a reference; a one-letter word is a letter.
    const LineList lines(Lines{"Index", "|", "|000000120", " note", "|000000007", "a", "anvil", "|000000348",
                               "a", "|000000120", "axe", "b"});
    EXPECT_EQ(buildIndexTree(lines), (Nodes{{"Index", -1},
                                            {"  ", -1},
                                            {"  00120", -1},
                                            {" note", -1},
                                            {"  00007", 3},
                                            {"a", 0},
                                            {"anvil", 5},
                                            {"  00348", 6},
                                            {"a", 0},
                                            {"  00120", 6},
                                            {"axe", 8},
                                            {"b", 0}}));
    EXPECT_TRUE(buildIndexTree(LineList()).empty());
}

TEST(WordIndex, ClickRule) {
    struct Case {
        std::string node, last;
        std::optional<std::int32_t> line;
    };
    const std::vector<Case> cases = {
        {"  00120", " ", 115},
        {"  00120", "00120", std::nullopt},  // the same reference again
        {"  012345", "00120", 12340},
        {"1848", " ", 1843},  // a year entry jumps like a reference
        {"1", " ", 0},        // so does a digit's letter node
        {"  00003", " ", 0},  // below 5: the panel starts at line 0
        {"  00005", " ", 0},
        {"12th", " ", std::nullopt},  // opens with a digit, no whole number
        {"12 34", " ", std::nullopt},
        {"99999999999", " ", std::nullopt},  // no line of any text
        {"anvil", " ", std::nullopt},
        {"Index", " ", std::nullopt},
        {"  ", " ", std::nullopt},
        {"", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        const auto jump = indexJumpFor(c.node, c.last);
        ASSERT_EQ(jump.has_value(), c.line.has_value());
        if (jump) {
            EXPECT_EQ(jump->line, *c.line);
            EXPECT_EQ(jump->entry, std::string(c.node.substr(c.node.find_first_not_of(' '))));
        }

        ReaderState st;
        st.LastIndexEntry = c.last;
        st.NextLine = 77;
        int draws = 0;
        varnet::testing::FunctionPlacer draw([&](std::int32_t line) {
            ++draws;
            return line + 1;
        });
        const bool jumped = followIndexNode(st, c.node, draw);
        EXPECT_EQ(jumped, c.line.has_value());
        EXPECT_EQ(draws, jumped ? 1 : 0);
        EXPECT_EQ(st.NextLine, jumped ? *c.line + 1 : 77);
        if (!jumped) {
            EXPECT_EQ(st.LastIndexEntry, c.last);
        }
    }
}

TEST(WordIndex, EmptyFilesAndOddLineEnds) {
    EXPECT_EQ(prepareIndexLines(LineList()).strings(), Lines{"Index"});
    EXPECT_EQ(prepared({"", "", ""}), Lines{"Index"});
    EXPECT_EQ(buildIndexTree(prepareIndexLines(LineList())), (Nodes{{"Index", -1}}));
    // Empty lines inside a file are dropped before the passes.
    EXPECT_EQ(prepared({"", "Anvil|000000120|000000348", "", "anchor|000001022", "", "",
                        "Basket|0000012345|000000077", "bell|000000530", ""}),
              literalPreparation(kWorkedExample));
    // CR-only and mixed line ends read as the same lines.
    const std::string crOnly =
        "Anvil|000000120|000000348\ranchor|000001022\rBasket|0000012345|000000077\r\r"
        "bell|000000530\r\n";
    EXPECT_EQ(prepareIndexLines(LineList::fromBytes(crOnly)).strings(), literalPreparation(kWorkedExample));
}

TEST(WordIndex, EqualToTheLiteralPassesOnRandomFiles) {
    std::mt19937 rng(20240611);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::string firsts = "aAbB|  xX1\x01\xe9";
    const std::string refChars = "0123456789|0123456789 ";
    const auto randomBytes = [&](int n) {
        std::string s;
        for (int k = 0; k < n; ++k) s += static_cast<char>(rng() & 0xFF);
        return s;
    };
    const auto reference = [&] {
        // Mostly short or long, sometimes a length that is neither.
        const int lengths[] = {10, 10, 11, 11, 9, 12};
        const int length = lengths[pick(6)];
        std::string r = "|";
        for (int k = 1; k < length; ++k)
            r += refChars[static_cast<std::size_t>(pick(static_cast<int>(refChars.size())))];
        return r;
    };
    const auto line = [&]() -> std::string {
        switch (pick(10)) {
            case 0:
                return "";
            case 1:
                return std::string(1,
                                   firsts[static_cast<std::size_t>(pick(static_cast<int>(firsts.size())))]);
            case 2:
                return randomBytes(1 + pick(30));
            case 3: {
                // Ten or eleven characters with a bar among the first four.
                std::string s(static_cast<std::size_t>(10 + pick(2)), 'x');
                s[static_cast<std::size_t>(pick(4))] = '|';
                return s;
            }
            default: {
                std::string s(1, firsts[static_cast<std::size_t>(pick(static_cast<int>(firsts.size())))]);
                s += std::string(static_cast<std::size_t>(pick(6)), 'e');
                for (int refs = pick(5); refs > 0; --refs) s += reference();
                return s;
            }
        }
    };
    for (int round = 0; round < 4000; ++round) {
        Lines file;
        for (int n = pick(25); n > 0; --n) file.push_back(line());
        const Lines mine = prepared(file);
        ASSERT_EQ(mine, literalPreparation(withoutEmptyLines(file))) << "round " << round;
        // Every node hangs under an earlier one.
        const Nodes nodes = buildIndexTree(LineList(mine));
        ASSERT_EQ(nodes.size(), mine.size());
        for (std::size_t k = 1; k < nodes.size(); ++k) {
            ASSERT_GE(nodes[k].parent, -1);
            ASSERT_LT(nodes[k].parent, static_cast<std::int32_t>(k));
        }
    }
    // Whole files of binary garbage, split at any line end they hold.
    for (int round = 0; round < 500; ++round) {
        const LineList file = LineList::fromBytes(randomBytes(pick(400)));
        ASSERT_EQ(prepareIndexLines(file).strings(), literalPreparation(withoutEmptyLines(file.strings())));
    }
}
