#include "FakeFindDialog.h"
#include "FakeSurface.h"
#include "Paging.h"

#include <gtest/gtest.h>

using namespace varnet;
using varnet::testing::FakeControls;
using varnet::testing::FakeSurface;

namespace {

// A surface 40 lines of 20 pixels high (size 15 on the fake surface).
struct Fixture {
    ReaderState st;
    FakeSurface surface{1000, 800};
    FakeControls controls;
    PanelRenderer renderer{st, surface, controls};
    varnet::testing::FakeFindDialog findDialog;
    Paging paging{st, renderer, &findDialog};

    explicit Fixture(int phrases = 1000) {
        st.FontSize = 15;
        surface.font.size = 15;
        std::vector<std::string> lines(static_cast<std::size_t>(phrases), "     a phrase");
        lines.push_back("p999");
        lines.push_back("        END OF FILE");
        lines.push_back(" ");
        st.CurrentText = LineList(std::move(lines));
    }
    void setLine(int i, std::string_view text) { st.CurrentText->put(i, text); }
};

}  // namespace

TEST(PageBack, EstimatesTheStartOfThePanelBefore) {
    struct Case {
        const char* name;
        int topLine;
        std::vector<std::pair<int, std::string>> lines;
        int expectedStart;
    };
    const std::vector<Case> cases = {
        {"near the start: from line 0", 30, {}, 0},
        {"first stop after the estimate", 500, {{470, "p047 "}, {480, "s000 "}}, 470},
        {"no stop before the panel on show", 500, {{500, "p050 "}}, 460},
        {"the estimate is itself a stop", 500, {{460, "s000 "}, {470, "p047 "}}, 460},
        {"a one-character line stops", 500, {{463, " "}}, 463},
        {"a two-character line does not stop", 500, {{463, "ab"}, {480, ""}}, 480},
        {"a line opening with r does not stop", 500, {{462, "rest"}, {490, "p049 "}}, 490},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        for (const auto& [i, text] : c.lines) f.setLine(i, text);
        f.st.TopLine = c.topLine;
        f.st.Band = 1;
        f.paging.PageBack();
        EXPECT_EQ(f.st.TopLine, c.expectedStart);
        EXPECT_TRUE(f.st.ReadingMoved);
        if (c.expectedStart == 0) {
            EXPECT_EQ(f.st.Band, 0);
        }
        EXPECT_EQ(f.st.LineHeight, 20);
        EXPECT_EQ(f.st.PanelHeight, 800);
    }
}

TEST(PageBack, UsesTheFontAsTheLastLineLeftIt) {
    Fixture f;
    f.surface.font.size = 35;  // a line height of 40: 20 lines a column
    f.st.TopLine = 500;
    f.paging.PageBack();
    EXPECT_EQ(f.st.TopLine, 480);
}

TEST(PageBack, ResetsTheFixedFaceWhenTheStretchSwitchesToIt) {
    Fixture f;
    f.setLine(465, "     |f>code|a> ");
    f.surface.font.face = kFixedFace;
    f.st.TopLine = 500;
    f.paging.PageBack();
    // The face was reset before drawing; the tag then set it again.
    EXPECT_EQ(f.surface.texts.front().font.face, kSerifFace);

    Fixture g;
    g.surface.font.face = kFixedFace;
    g.st.TopLine = 500;
    g.paging.PageBack();
    EXPECT_EQ(g.surface.texts.front().font.face, kFixedFace);
}

TEST(PageBack, FromBeyondTheEndReadsNothingPastIt) {
    struct Case {
        std::int32_t top;
        std::int32_t start, next;
        bool drawn;
    };
    // 100 phrase lines, the end marker at 100, the closing line at 101 and
    // the final blank line at 102; 40 lines a panel. The search forward from
    // TopLine - 40 stops at the end marker; from far beyond the end there is
    // no line to search, and the estimate itself, past the end, draws nothing.
    const std::vector<Case> cases = {
        {102, 100, 102, true},
        {103, 100, 102, true},
        {120, 100, 102, true},
        {5000, 4960, 4960, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.top);
        Fixture f(100);
        f.st.TopLine = c.top;
        f.paging.PageBack();
        EXPECT_EQ(f.st.TopLine, c.start);
        EXPECT_EQ(f.st.NextLine, c.next);
        EXPECT_EQ(f.surface.texts.empty(), !c.drawn);
    }
}

TEST(PageForward, GoesExactlyToTheNextPanelAndStopsAtTheEnd) {
    Fixture f(50);  // 53 lines; 40 lines a panel
    f.st.NextLine = f.renderer.DrawPanel(0);
    EXPECT_EQ(f.st.NextLine, 40);
    f.paging.PageForward();
    EXPECT_EQ(f.st.TopLine, 40);
    EXPECT_EQ(f.st.NextLine, 50);  // ends before the end marker
    f.paging.PageForward();
    EXPECT_EQ(f.st.NextLine, 52);
    EXPECT_FALSE(f.controls.nextEnabled);
    f.surface.reset();
    f.st.ReadingMoved = false;
    f.paging.PageForward();  // Page Down on the last panel does nothing
    EXPECT_TRUE(f.surface.texts.empty());
    EXPECT_EQ(f.st.TopLine, 50);  // still the first line of the panel on show
    EXPECT_EQ(f.st.NextLine, 52);
    EXPECT_FALSE(f.st.ReadingMoved);
    f.paging.PageBack();  // and Page Up pages back from the panel on show
    EXPECT_FALSE(f.surface.texts.empty());
    EXPECT_EQ(f.st.TopLine, 10);
}

TEST(ShowLine, ALineAtOrPastTheEndShowsTheLastPanel) {
    // The last panel is the one Page Down reaches from the start and cannot
    // leave; with page markers every 37 lines panels end before them.
    const auto withMarkers = [](Fixture& f) {
        for (int i = 37; i < 1000; i += 37) f.setLine(i, "p" + std::to_string(i / 37) + " ");
    };
    Fixture walk;
    withMarkers(walk);
    walk.st.NextLine = walk.renderer.DrawPanel(0);
    while (walk.controls.nextEnabled) walk.paging.PageForward();
    const std::int32_t lastTop = walk.st.TopLine;
    ASSERT_GT(lastTop, 900);

    for (const std::int32_t line : {1001, 1002, 1003, 5000, 2147483647}) {
        SCOPED_TRACE(line);
        Fixture f;
        withMarkers(f);
        f.st.NextLine = f.paging.ShowLine(line);
        EXPECT_EQ(f.st.TopLine, lastTop);
        EXPECT_EQ(f.st.NextLine, walk.st.NextLine);
        EXPECT_FALSE(f.surface.texts.empty());
        EXPECT_FALSE(f.st.ReadingMoved);
    }
    Fixture f;  // a line inside the text is drawn as it stands
    f.st.NextLine = f.paging.ShowLine(500);
    EXPECT_EQ(f.st.TopLine, 500);
    EXPECT_EQ(f.st.NextLine, 540);
}

TEST(Paging, OnlyTheKeysThatPageAreConsumed) {
    struct Case {
        const char* name;
        int key;
        bool shift;
        bool onSurface;   // the reading surface has the focus
        int expectedTop;  // from the panel at line 40
    };
    const std::vector<Case> cases = {
        {"Page Down anywhere", kKeyPageDown, false, false, 80},
        {"Page Up anywhere", kKeyPageUp, false, false, 0},
        {"Shift+Page Down still pages", kKeyPageDown, true, false, 80},
        {"Space on the surface", kKeySpace, false, true, 80},
        {"Shift+Space on the surface", kKeySpace, true, true, 0},
        {"Down on the surface", kKeyDown, false, true, 80},
        {"Right on the surface", kKeyRight, false, true, 80},
        {"Up on the surface", kKeyUp, false, true, 0},
        {"Left on the surface", kKeyLeft, false, true, 0},
        {"Space elsewhere goes to the widget", kKeySpace, false, false, 40},
        {"Down elsewhere goes to the widget", kKeyDown, false, false, 40},
        {"Enter on the surface goes on", 0x0D, false, true, 40},
        {"a letter goes on", 'A', false, true, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.st.NextLine = f.renderer.DrawPanel(40);
        int key = c.key;
        f.paging.FormKeyDown(key);
        if (key != 0 && c.onSurface) f.paging.ReadingKeyDown(key, c.shift);
        EXPECT_EQ(f.st.TopLine, c.expectedTop);
        const bool acted = c.expectedTop != 40;
        EXPECT_EQ(key, acted ? 0 : c.key);  // consumed exactly when it paged
        EXPECT_EQ(f.st.ReadingMoved, acted);
        EXPECT_EQ(f.findDialog.closes, 0);  // keys do not close the Find dialog
    }
}

TEST(Paging, ButtonsCloseTheFindDialogFirst) {
    Fixture f;
    f.st.NextLine = f.renderer.DrawPanel(0);
    f.paging.NextButtonClick();
    EXPECT_EQ(f.findDialog.closes, 1);
    EXPECT_EQ(f.st.TopLine, 40);
    f.paging.PrevButtonClick();
    EXPECT_EQ(f.findDialog.closes, 2);
    EXPECT_EQ(f.st.TopLine, 0);
}

TEST(Paging, TwoColumnsPageBackAboutHalfAPanel) {
    Fixture f;
    f.controls.two = true;
    f.st.NextLine = f.renderer.DrawPanel(200);
    EXPECT_EQ(f.st.NextLine, 280);
    f.paging.PageBack();
    EXPECT_EQ(f.st.TopLine, 160);
}
