#include "FakeFindDialog.h"
#include "TextSearch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace varnet;
using varnet::testing::FakeFindDialog;

namespace {

constexpr std::int32_t kPanelLines = 5;
const std::string kFiller = "     along the quiet road ";

// A text of filler phrases with some lines replaced; panels are kPanelLines
// long.
struct Fixture {
    ReaderState st;
    FakeFindDialog dialog;
    std::vector<std::int32_t> drawn;
    TextSearch search{st, dialog, [this](std::int32_t line) {
                          drawn.push_back(line);
                          st.TopLine = line;
                          return line + kPanelLines;
                      }};

    explicit Fixture(std::int32_t count, std::vector<std::pair<std::int32_t, std::string>> lines = {}) {
        std::vector<std::string> text(static_cast<std::size_t>(count), kFiller);
        for (auto& [i, line] : lines) text[static_cast<std::size_t>(i)] = line;
        st.CurrentText = LineList(std::move(text));
    }
    std::int32_t count() const { return st.CurrentText->count(); }
    // One press of find-next from the panel [top, next).
    void press(const std::string& text, bool down, std::int32_t top, std::int32_t next) {
        dialog.text = text;
        dialog.down = down;
        st.TopLine = top;
        st.NextLine = next;
        search.FindDialog1Find();
    }
    std::optional<std::int32_t> lastDrawn() const {
        return drawn.empty() ? std::nullopt : std::optional<std::int32_t>(drawn.back());
    }
};

}  // namespace

TEST(TextSearch, WordsInSingleLinesWithAndWithoutCase) {
    struct Case {
        std::string line, search;
        bool matchCase, found;
    };
    const std::vector<Case> cases = {
        {"     the |9>Lantern|4> shone ", "lantern", false, true},
        {"     the |9>Lantern|4> shone ", "Lantern", false, true},
        {"     the |9>Lantern|4> shone ", "LANTERN", false, true},
        {"     the |9>Lantern|4> shone ", "lantern", true, false},
        {"     the |9>Lantern|4> shone ", "Lantern", true, true},
        {"     the |9>Lantern|4> shone ", "ante", false, true},         // inside a longer word
        {"     the |9>Lantern|4> shone ", "tern|4>", false, true},      // tags are part of the line
        {"     the |9>Lan|7>tern|4> shone ", "lantern", false, false},  // a tag cuts the word
        {"     THE LANTERN ", "lantern", false, true},
        {"     the lantern ", "Lantern", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line + " / " + c.search);
        Fixture f(30, {{12, c.line}});
        f.dialog.caseOn = c.matchCase;
        f.press(c.search, true, 0, 0);
        if (c.found) {
            // No page marker lies after the start, so the panel begins at the hit.
            EXPECT_EQ(f.drawn, std::vector<std::int32_t>{12});
            EXPECT_EQ(f.st.SearchFound, 12);
            EXPECT_EQ(f.st.NextLine, 12 + kPanelLines);
            EXPECT_EQ(f.dialog.closes, 0);
        } else {
            EXPECT_TRUE(f.drawn.empty());
            EXPECT_EQ(f.dialog.closes, 1);
        }
        EXPECT_EQ(f.st.SearchStart, 0);
    }
}

TEST(TextSearch, PhrasesAcrossTwoLines) {
    struct Case {
        std::string search;
        bool matchCase;
        std::optional<std::int32_t> hit;
    };
    // Line 6 holds the first word without the phrase; the phrase itself runs
    // from line 14 into line 15 with tags around and between its words.
    Fixture f(40, {{6, "     north of the hill "},
                   {7, "     lay a field "},
                   {14, "          the old |7>North|4> "},
                   {15, "   |9>Wind|4> blew hard "},
                   {16, "          and north again "}});
    const std::vector<Case> cases = {
        {"north wind", false, 14},
        {"North Wind", true, 14},
        {"north Wind", true, std::nullopt},
        {"north wind blew hard", false, 14},  // reported at line i though mostly on i + 1
        {"north of the hill", false, 6},
        {"north lay", false, std::nullopt},  // joined is "north of the hill lay a field"
        {"wind blew", false, 15},
        {"north again", false, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search);
        f.drawn.clear();
        f.dialog.closes = 0;
        f.dialog.caseOn = c.matchCase;
        f.press(c.search, true, 0, 0);
        EXPECT_EQ(f.lastDrawn(), c.hit);
        EXPECT_EQ(f.dialog.closes, c.hit ? 0 : 1);
    }
}

TEST(TextSearch, PassesOverTheLinesBesideThePanel) {
    // Down from NextLine 10, lines 10 and 11 are passed over; up from TopLine
    // 20, line 19 is.
    Fixture f(
        40,
        {{10, "     wolf "}, {11, "     wolf "}, {13, "     wolf "}, {17, "     wolf "}, {19, "     wolf "}});
    f.press("wolf", true, 5, 10);
    EXPECT_EQ(f.lastDrawn(), 13);
    EXPECT_EQ(f.st.SearchStart, 10);
    f.press("wolf", false, 20, 25);
    EXPECT_EQ(f.lastDrawn(), 17);
    EXPECT_EQ(f.st.SearchStart, 20);
    EXPECT_EQ(f.dialog.closes, 0);
}

TEST(TextSearch, ShownFromThePageMarkerOnlyWhenItLiesAfterTheStart) {
    struct Case {
        std::int32_t markerLine;
        std::string marker;
        bool down;
        std::int32_t top, next;
        std::int32_t drawnFrom;
    };
    // The hit is on line 20; line 19 is empty (no marker) in every case.
    const std::vector<Case> cases = {
        {15, "p004 ", true, 0, 6, 15},
        {15, "p004 ", true, 10, 15, 20},  // the marker is the start line itself
        {15, "p004 ", true, 10, 14, 15},
        {15, "plain words", true, 0, 6, 15},  // any line that opens with "p" counts
        {15, "     p004 ", true, 0, 6, 20},   // not at the first character
        {15, "p004 ", false, 30, 35, 20},     // upward hits are shown from the hit
        {2, "p002 ", true, 0, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.markerLine * 1000 + c.next);
        Fixture f(40, {{c.markerLine, c.marker}, {19, ""}, {20, "     the crow "}});
        f.press("crow", c.down, c.top, c.next);
        EXPECT_EQ(f.lastDrawn(), c.drawnFrom);
        EXPECT_EQ(f.st.SearchFound, 20);
        EXPECT_EQ(f.st.TopLine, c.drawnFrom);
        EXPECT_EQ(f.st.NextLine, c.drawnFrom + kPanelLines);
    }
}

TEST(TextSearch, PressesContinueBeyondThePanelOfTheLastHit) {
    Fixture f(60, {{10, "     hare "}, {12, "     hare "}, {30, "     hare "}});
    f.press("hare", true, 0, 0);
    ASSERT_EQ(f.lastDrawn(), 10);
    f.search.FindDialog1Find();  // from NextLine 15: line 12 is on the panel shown
    EXPECT_EQ(f.lastDrawn(), 30);
    f.dialog.down = false;
    f.search.FindDialog1Find();  // up from TopLine 30
    EXPECT_EQ(f.lastDrawn(), 12);
    f.search.FindDialog1Find();  // up from 12: only line 11 is passed over
    f.search.FindDialog1Find();  // up from 10: nothing above
    EXPECT_EQ(f.drawn, (std::vector<std::int32_t>{10, 30, 12, 10}));
    EXPECT_EQ(f.dialog.closes, 1);
    EXPECT_FALSE(f.st.ReadingMoved);
}

TEST(TextSearch, ClosesWithoutAHitOrWithoutRoom) {
    struct Case {
        const char* name;
        std::string search;
        bool down;
        std::int32_t top, next;
        int closes;
    };
    const std::int32_t count = 30;
    const std::vector<Case> cases = {
        {"no hit down", "zebra", true, 0, 5, 1},
        {"no hit up", "zebra", false, 25, count - 1, 1},
        {"down from the last panel", "road", true, 20, count - 1, 1},
        {"up from line 1", "road", false, 1, 6, 1},
        {"empty search text", "", true, 0, 5, 0},
        // Beyond the text: a search needing line count itself is not made.
        {"down two before the end", "road", true, 20, count - 2, 1},
        {"phrase three before the end", "quiet road", true, 20, count - 3, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The last line holds the whole phrase, which a search joining a line
        // past the end would otherwise be tempted to report.
        Fixture f(count, {{count - 1, "zebra quiet road"}});
        f.press(c.search, c.down, c.top, c.next);
        EXPECT_TRUE(f.drawn.empty());
        EXPECT_EQ(f.dialog.closes, c.closes);
    }

    Fixture none(0);
    none.st.CurrentText.reset();
    none.press("road", true, 0, -1);
    none.press("road", false, 5, -1);
    none.search.SearchText(3, +1);
    EXPECT_EQ(none.dialog.closes, 3);
    EXPECT_TRUE(none.drawn.empty());

    // Called directly from near the top, an upward search would start above
    // line 0: nothing to read, not found.
    Fixture top(30, {{0, "     road "}});
    top.dialog.text = "road";
    top.search.SearchText(1, -1);
    EXPECT_EQ(top.dialog.closes, 1);
    EXPECT_TRUE(top.drawn.empty());
}

TEST(TextSearch, PhraseTestAtTheBoundLines) {
    // A search text that opens with a blank has an empty first word: only the
    // phrase test made at a bound line (1 upwards, count - 2 downwards) can hit.
    const std::int32_t count = 30;
    Fixture f(count, {{2, "weary wolves "}, {8, "weary wolves "}, {count - 1, "weary"}});
    f.press(" weary", true, 0, 3);
    EXPECT_EQ(f.lastDrawn(), count - 2);
    f.press(" weary", false, 25, count - 1);
    EXPECT_EQ(f.lastDrawn(), 1);
    EXPECT_EQ(f.dialog.closes, 0);
    // Line 7 joined with line 8 would match too, but is not a bound line.
    EXPECT_EQ(f.drawn.size(), 2u);
}

TEST(TextSearch, ShowFoundLineLeavesTheLastLineAlone) {
    Fixture f(20, {{4, "p002 "}});
    f.st.SearchStart = 0;
    f.search.ShowFoundLine(19);
    f.search.ShowFoundLine(25);
    f.search.ShowFoundLine(-3);
    EXPECT_TRUE(f.drawn.empty());
    f.search.ShowFoundLine(18);
    EXPECT_EQ(f.lastDrawn(), 4);
    EXPECT_EQ(f.st.SearchFound, 18);
}
