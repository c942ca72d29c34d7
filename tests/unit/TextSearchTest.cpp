#include "BookOpening.h"
#include "BuiltinTexts.h"
#include "EngineFakes.h"
#include "FakeFindDialog.h"
#include "FakeSurface.h"
#include "PanelRenderer.h"
#include "TextFormat.h"
#include "TextSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace varnet;
using varnet::testing::FakeControls;
using varnet::testing::FakeFindDialog;
using varnet::testing::FakeSurface;

namespace {

constexpr std::int32_t kPanelLines = 5;
const std::string kFiller = "     along the quiet road ";

// A text of filler phrases with some lines replaced; panels are kPanelLines
// long, and the search's requests to draw are recorded: where from, and the
// hit the panel must hold.
struct Fixture {
    ReaderState st;
    FakeFindDialog dialog;
    std::vector<std::int32_t> drawn;
    std::vector<std::int32_t> held;
    varnet::testing::FunctionHitDrawer drawer{[this](std::int32_t start, std::int32_t line) {
        drawn.push_back(start);
        held.push_back(line);
        st.TopLine = start;
        return start + kPanelLines;
    }};
    TextSearch search{st, dialog, drawer};

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

TEST(TextSearch, ExaminesTheLinesRightBesideThePanel) {
    struct Case {
        std::string search;
        bool down;
        std::int32_t top, next;
        std::int32_t hit;
    };
    // Down from NextLine n, line n is examined first; up from TopLine t, line
    // t - 1 is. A phrase split over two lines is found at its first line.
    Fixture f(40, {{10, "     wolf "},
                   {11, "     wolf "},
                   {13, "     wolf "},
                   {17, "     grey "},
                   {18, "     |7>wolf|4> "},
                   {19, "     wolf "}});
    const std::vector<Case> cases = {
        {"wolf", true, 5, 10, 10},       {"wolf", true, 6, 11, 11},        {"wolf", true, 7, 12, 13},
        {"wolf", false, 20, 25, 19},     {"wolf", false, 19, 24, 18},      {"wolf", false, 13, 18, 11},
        {"grey wolf", true, 12, 17, 17}, {"grey wolf", false, 18, 23, 17},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search + (c.down ? " down from " : " up from ") +
                     std::to_string(c.down ? c.next : c.top));
        f.press(c.search, c.down, c.top, c.next);
        EXPECT_EQ(f.st.SearchFound, c.hit);
        EXPECT_EQ(f.held.back(), c.hit);
        EXPECT_EQ(f.st.SearchStart, c.down ? c.next : c.top);
    }
    EXPECT_EQ(f.drawn.size(), cases.size());
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
        EXPECT_EQ(f.held, std::vector<std::int32_t>{20});  // the panel must show the hit
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
    f.search.FindDialog1Find();  // up from 12
    f.search.FindDialog1Find();  // up from 10: nothing above
    EXPECT_EQ(f.drawn, (std::vector<std::int32_t>{10, 30, 12, 10}));
    EXPECT_EQ(f.dialog.closes, 1);
    EXPECT_FALSE(f.st.ReadingMoved);
}

TEST(TextSearch, AtTheEndsOfTheText) {
    struct Case {
        const char* name;
        std::string search;
        bool down;
        std::int32_t top, next;
        std::optional<std::int32_t> hit;  // none: the dialog is closed
    };
    const std::int32_t count = 30;
    const std::vector<Case> cases = {
        {"no hit down", "zebra", true, 0, 5, std::nullopt},
        {"no hit up", "zebra", false, 25, count - 1, std::nullopt},
        {"down from the last panel", "road", true, 20, count - 1, std::nullopt},
        {"up from line 1", "road", false, 1, 6, std::nullopt},
        {"up from line 2", "road", false, 2, 7, 1},
        {"down from the last line but one", "road", true, 20, count - 2, count - 2},
        {"phrase down from three before the end", "quiet road", true, 20, count - 3, count - 3},
        {"down from line 0", "road", true, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The last line holds the whole phrase, which a search joining a line
        // past the end would otherwise be tempted to report.
        Fixture f(count, {{count - 1, "zebra quiet road"}});
        f.press(c.search, c.down, c.top, c.next);
        EXPECT_EQ(f.lastDrawn(), c.hit);
        EXPECT_EQ(f.dialog.closes, c.hit ? 0 : 1);
    }

    // Called directly from the last line: the phrase would need the line
    // after it, which is not read.
    Fixture last(count, {{count - 1, "zebra quiet road"}});
    last.dialog.text = "quiet road";
    last.search.SearchText(count - 1, +1);
    last.search.SearchText(count, +1);
    EXPECT_EQ(last.dialog.closes, 2);
    EXPECT_TRUE(last.drawn.empty());

    Fixture empty(count);
    empty.press("", true, 0, 5);
    EXPECT_EQ(empty.st.SearchStart, 5);
    EXPECT_EQ(empty.dialog.closes, 0);
    EXPECT_TRUE(empty.drawn.empty());

    Fixture none(0);
    none.st.CurrentText.reset();
    none.press("road", true, 0, -1);
    none.press("road", false, 5, -1);
    none.search.SearchText(3, +1);
    EXPECT_EQ(none.dialog.closes, 3);
    EXPECT_TRUE(none.drawn.empty());

    // Called directly from the top, an upward search would start above line
    // 0: nothing to read, not found.
    Fixture top(30, {{0, "     road "}});
    top.dialog.text = "road";
    top.search.SearchText(0, -1);
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
    EXPECT_EQ(f.held, std::vector<std::int32_t>{18});
    EXPECT_EQ(f.st.SearchFound, 18);
}

namespace {

// The demo book opened as the reader opens it, drawn on a fake surface of the
// size given, searched with the real renderer.
struct OpenedBook {
    ReaderState st;
    FakeSurface surface;
    FakeControls controls;
    PanelRenderer renderer{st, surface, controls};
    FakeFindDialog dialog;
    TextSearch search{st, dialog, renderer};

    OpenedBook(int fontSize, int height, bool twoColumns) : surface(800, height) {
        st.FontSize = fontSize;
        controls.two = twoColumns;
        BuildDemoText(st);
        varnet::testing::FakeOpeningHost host;
        host.show = [this](std::int32_t line) { return renderer.DrawPanel(line); };
        BookOpening opening(st, host);
        opening.OpenBook("fable.qtx", "");
    }
    std::int32_t count() const { return st.CurrentText->count(); }
};

// The lines at which a search's matching finds the search text (match case
// off): the first word in the line itself, and for a phrase, the whole text
// in the line joined with the next, tags taken out.
std::vector<std::int32_t> matchingLines(const LineList& text, const std::string& search) {
    const std::string pattern = lowerAscii(search);
    const std::string firstWord = pattern.substr(0, pattern.find(' '));
    std::vector<std::int32_t> out;
    for (std::int32_t i = 0; i + 1 < text.count(); ++i) {
        if (lowerAscii(text[i]).find(firstWord) == std::string::npos) continue;
        const std::string joined =
            lowerAscii(removeTags(std::string(trimmed(text[i])) + " " + std::string(trimmed(text[i + 1]))));
        if (joined.find(pattern) != std::string::npos) out.push_back(i);
    }
    return out;
}

struct SweepLayout {
    int fontSize, height;
    bool twoColumns;
};
const SweepLayout kSweepLayouts[] = {
    {15, 600, false}, {15, 1000, false}, {40, 600, false}, {40, 1000, false}, {40, 600, true}};
// Three words, and a phrase that the layout splits over two lines at most of
// its occurrences.
const char* const kSweepSearches[] = {"fox", "wolf", "lion", "came down"};

std::string sweepCase(const char* search, const SweepLayout& layout) {
    return std::string(search) + " at " + std::to_string(layout.fontSize) + " pt on " +
           std::to_string(layout.height) + (layout.twoColumns ? " px, two columns" : " px");
}

}  // namespace

// Find Next pressed from the opening panel of the demo book to its end shows
// every line that holds the search text, in order, each on one panel only.
TEST(TextSearchSweep, DownShowsEveryMatchingLineOnceAndInOrder) {
    for (const SweepLayout& layout : kSweepLayouts) {
        for (const char* search : kSweepSearches) {
            SCOPED_TRACE(sweepCase(search, layout));
            OpenedBook book(layout.fontSize, layout.height, layout.twoColumns);
            const std::vector<std::int32_t> expected = matchingLines(*book.st.CurrentText, search);
            ASSERT_GT(expected.size(), 10u);
            ASSERT_EQ(book.st.TopLine, 0);

            // Each panel shown, as [TopLine, NextLine): the opening one, then
            // one per press until the dialog closes.
            std::vector<std::pair<std::int32_t, std::int32_t>> panels{{book.st.TopLine, book.st.NextLine}};
            book.dialog.text = search;
            for (std::size_t press = 0; press <= expected.size() && book.dialog.closes == 0; ++press) {
                const std::int32_t from = book.st.NextLine;
                book.search.FindDialog1Find();
                if (book.dialog.closes > 0) break;
                const std::int32_t hit = book.st.SearchFound;
                // The hit is the first matching line at or after the panel
                // before, and it is drawn on the panel shown.
                const auto next = std::lower_bound(expected.begin(), expected.end(), from);
                ASSERT_NE(next, expected.end()) << "a hit where none is left, at " << hit;
                EXPECT_EQ(hit, *next);
                EXPECT_TRUE(book.renderer.lineBox(hit)) << "line " << hit << " is not on the panel from "
                                                        << book.st.TopLine << " to " << book.st.NextLine;
                ASSERT_GT(book.st.TopLine, panels.back().first);
                ASSERT_GE(book.st.TopLine, panels.back().second);  // panels never overlap
                panels.emplace_back(book.st.TopLine, book.st.NextLine);
            }
            EXPECT_EQ(book.dialog.closes, 1);

            // Every matching line lies on exactly one panel shown.
            for (const std::int32_t line : expected) {
                int shownOn = 0;
                for (const auto& [top, next] : panels) shownOn += top <= line && line < next;
                EXPECT_EQ(shownOn, 1) << "line " << line;
            }
        }
    }
}

// Find Next upwards from the end of the demo book stops at every matching
// line, the last first, and shows each at the top of its panel.
TEST(TextSearchSweep, UpStopsAtEveryMatchingLineInTurn) {
    for (const SweepLayout& layout : kSweepLayouts) {
        for (const char* search : kSweepSearches) {
            SCOPED_TRACE(sweepCase(search, layout));
            OpenedBook book(layout.fontSize, layout.height, layout.twoColumns);
            book.st.NextLine = book.renderer.DrawPanel(book.count() - 3);  // the end marker's panel
            std::vector<std::int32_t> expected;
            for (const std::int32_t line : matchingLines(*book.st.CurrentText, search))
                if (line >= 1 && line < book.st.TopLine) expected.insert(expected.begin(), line);
            ASSERT_GT(expected.size(), 10u);

            book.dialog.text = search;
            book.dialog.down = false;
            std::vector<std::int32_t> hits;
            while (book.dialog.closes == 0 && hits.size() <= expected.size()) {
                book.search.FindDialog1Find();
                if (book.dialog.closes > 0) break;
                hits.push_back(book.st.SearchFound);
                EXPECT_EQ(book.st.TopLine, book.st.SearchFound);
                EXPECT_TRUE(book.renderer.lineBox(book.st.SearchFound));
            }
            EXPECT_EQ(hits, expected);
            EXPECT_EQ(book.dialog.closes, 1);
        }
    }
}
