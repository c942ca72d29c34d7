#include "BuiltinTexts.h"
#include "FakeSurface.h"
#include "PanelRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

using namespace varnet;
using varnet::testing::FakeControls;
using varnet::testing::FakeSurface;

namespace {

constexpr Colour kBg0 = 0x000000B0;
constexpr Colour kBg1 = 0x000000B1;
constexpr Colour kText0 = 0x000000C0;
constexpr Colour kText1 = 0x000000C1;

struct Fixture {
    ReaderState st;
    FakeSurface surface;
    FakeControls controls;
    PanelRenderer renderer{st, surface, controls};

    // Lines of 20 pixels at size 15: a surface `rows` lines high (plus the
    // top margin, which the line budget ignores).
    Fixture(int width, int height) : surface(width, height) {
        st.FontSize = 15;
        st.CurrentText = LineList();
        for (int b = 0; b < 2; ++b)
            for (int k = 0; k < 9; ++k) st.SchemeColours[b][k] = static_cast<Colour>(0x100 * (b + 1) + k);
        st.SchemeColours[0][0] = kBg0;
        st.SchemeColours[1][0] = kBg1;
        st.SchemeColours[0][3] = kText0;
        st.SchemeColours[1][3] = kText1;
    }
    void setText(std::vector<std::string> lines) { st.CurrentText = LineList(std::move(lines)); }
    // A text of `count` ordinary phrase lines, then the opened text's ending.
    void setPlain(int count) {
        std::vector<std::string> lines(static_cast<std::size_t>(count), "     a phrase line");
        lines.push_back("p999");
        lines.push_back("        END OF FILE");
        lines.push_back(" ");
        setText(std::move(lines));
    }
    std::vector<std::string> drawnRows() const {
        std::vector<std::string> rows;
        int lastY = -1;
        for (const auto& t : surface.texts) {
            if (t.y != lastY) rows.emplace_back();
            rows.back() += t.text;
            lastY = t.y;
        }
        return rows;
    }
};

}  // namespace

TEST(DrawPanel, NoTextOrTooFewLines) {
    Fixture f(400, 400);
    f.st.CurrentText.reset();
    EXPECT_EQ(f.renderer.DrawPanel(0), -1);

    f.setText({});
    f.st.Band = 1;
    f.controls.prevEnabled = true;
    EXPECT_EQ(f.renderer.DrawPanel(0), 0);
    EXPECT_EQ(f.st.Band, 0);
    EXPECT_FALSE(f.controls.prevEnabled);
    EXPECT_TRUE(f.surface.texts.empty());
    EXPECT_TRUE(f.surface.fills.empty());

    f.setText({"one"});
    EXPECT_EQ(f.renderer.DrawPanel(-2), -1);  // one line and a negative start
    EXPECT_EQ(f.st.TopLine, -2);
}

TEST(DrawPanel, StartAtOrPastTheClosingLineDrawsNothing) {
    Fixture f(400, 400);
    f.setPlain(10);  // 13 lines
    f.controls.caption = "kept";
    for (int start : {11, 12, 40}) {
        f.surface.reset();
        f.controls.prevEnabled = false;  // Prev is still set, as for any start
        EXPECT_EQ(f.renderer.DrawPanel(start), start);
        EXPECT_EQ(f.st.TopLine, start);
        EXPECT_TRUE(f.surface.texts.empty());
        EXPECT_EQ(f.controls.caption, "kept");
        EXPECT_TRUE(f.controls.prevEnabled);
    }
}

TEST(DrawPanel, StartupInstructionsMakeOnePanelOfSeventeenLines) {
    Fixture f(600, 405);  // room for 20 lines of 20 pixels
    f.st.CurrentText = startupInstructions();
    ASSERT_EQ(f.st.CurrentText->count(), 19);
    f.st.Band = 1;
    EXPECT_EQ(f.renderer.DrawPanel(0), 17);
    EXPECT_EQ(f.st.Band, 0);
    EXPECT_EQ(f.controls.caption, "0 of 0 panels");
    EXPECT_EQ(f.controls.progressMax, 19);
    EXPECT_EQ(f.controls.progressPos, 0);
    EXPECT_FALSE(f.controls.nextEnabled);
    EXPECT_FALSE(f.controls.prevEnabled);
    const auto rows = f.drawnRows();
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[1], "Select a Book ");
    EXPECT_EQ(rows[16], "           of the Book. ");
    // The whole surface starts on band 0's background.
    ASSERT_FALSE(f.surface.fills.empty());
    EXPECT_EQ(f.surface.fills[0].colour, kBg0);
    EXPECT_EQ(f.surface.fills[0].right, 600);
    EXPECT_EQ(f.surface.fills[0].bottom, 405);
}

TEST(DrawPanel, PositionLabelCountsHundredsOfLines) {
    Fixture f(400, 400);
    f.setPlain(14253);  // 14,256 lines, as the opened demo book
    f.controls.prevEnabled = false;
    f.controls.nextEnabled = false;
    f.renderer.DrawPanel(250);
    EXPECT_EQ(f.controls.caption, "2 of 142 panels");
    EXPECT_EQ(f.controls.progressMax, 14256);
    EXPECT_EQ(f.controls.progressPos, 250);
    EXPECT_TRUE(f.controls.prevEnabled);
    EXPECT_TRUE(f.controls.nextEnabled);
}

// Room for 20 lines; the panel starts on a page marker at line 10.
TEST(DrawPanel, BreakPointSearchEndsThePanelBeforeTheLowestBreak) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> breaks;  // offset from the start
        int drawn;
    };
    const std::vector<Case> cases = {
        {"section breaks at 6 and 15", {{6, "s000 "}, {15, "s000 "}}, 15},
        {"no break point", {}, 20},
        {"page marker at 19", {{19, "p012 "}}, 19},
        {"short line at 12", {{12, "  "}}, 12},
        {"line opening with r", {{8, "r is a break"}}, 8},
        {"break at offset 0 only is never examined", {{0, "s000 "}}, 20},
        {"three-character line is no break", {{5, "abc"}}, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(1000, 400);
        f.setPlain(60);
        LineList& lines = *f.st.CurrentText;
        lines.put(10, "p011 ");
        for (const auto& [off, text] : c.breaks) lines.put(10 + off, text);
        EXPECT_EQ(f.renderer.DrawPanel(10), 10 + c.drawn);
        EXPECT_EQ(static_cast<int>(f.drawnRows().size()), c.drawn);
    }
}

TEST(DrawPanel, FinalBlankLineIsNeverDrawn) {
    Fixture f(1000, 2000);
    f.setPlain(5);                          // 8 lines, 0..4 phrases, 5 p999, 6 closing line, 7 final blank
    EXPECT_EQ(f.renderer.DrawPanel(1), 5);  // ends before the end marker
    EXPECT_EQ(f.renderer.DrawPanel(5), 7);  // the end marker and the closing line
    EXPECT_FALSE(f.controls.nextEnabled);
    EXPECT_EQ(f.drawnRows().back(), "        END OF FILE ");
}

TEST(DrawPanel, BandsToggleAtPageMarkersAndAnchors) {
    Fixture f(1000, 2000);
    f.setText({"     first", "p002 ", "     second |9>marked|4> ", "|refpt001> ", "|b>1.  Heading|n> ",
               "p003 ", "     third", "p999", "        END OF FILE", " "});
    f.st.Band = 1;
    EXPECT_EQ(f.renderer.DrawPanel(0), 7);
    EXPECT_EQ(f.st.Band, 1);  // three toggles from band 0
    auto textOnRow = [&](int row) {
        const int y = 5 + 20 * row;
        for (const auto& t : f.surface.texts)
            if (t.y == y && !t.text.empty()) return t;
        return f.surface.texts.front();
    };
    EXPECT_EQ(textOnRow(0).background, kBg0);
    EXPECT_EQ(textOnRow(0).font.colour, kText0);
    EXPECT_EQ(textOnRow(1).text, "     ");  // the marker is drawn as five blanks
    EXPECT_EQ(textOnRow(1).background, kBg1);
    // "|9>" on band 1 takes row 1's ninth colour.
    bool sawMarked = false;
    for (const auto& t : f.surface.texts)
        if (t.text == "marked") {
            sawMarked = true;
            EXPECT_EQ(t.font.colour, f.st.SchemeColours[1][8]);
        }
    EXPECT_TRUE(sawMarked);
    EXPECT_EQ(textOnRow(3).text, "       ");  // the anchor line shows as blanks
    EXPECT_EQ(textOnRow(3).background, kBg0);
    EXPECT_EQ(textOnRow(6).background, kBg1);
    EXPECT_EQ(textOnRow(6).font.colour, kText1);
    // The column's own fill keeps the band it began with.
    EXPECT_EQ(f.surface.fills.front().colour, kBg0);
}

TEST(DrawPanel, ColourLastsAcrossLinesUntilABandToggle) {
    Fixture f(1000, 2000);
    f.setText({"     a |7>long", "     phrase|4> b", "     |8>open", "p002 ", "     after", "p999",
               "        END OF FILE", " "});
    f.renderer.DrawPanel(0);
    const auto colourOf = [&](const std::string& piece) -> std::optional<Colour> {
        for (const auto& t : f.surface.texts)
            if (t.text == piece) return t.font.colour;
        return std::nullopt;
    };
    const std::vector<std::pair<std::string, Colour>> expected = {
        {"     a ", kText0},
        {"long ", f.st.SchemeColours[0][6]},
        {"     phrase", f.st.SchemeColours[0][6]},  // "|7>" lasts into the next line
        {" b ", kText0},                            // until "|4>"
        {"     ", kText0},                          // the piece before "|8>"
        {"open ", f.st.SchemeColours[0][7]},
        {"     after ", kText1},  // the page marker brings band 1's own text colour
    };
    for (const auto& [piece, colour] : expected) {
        SCOPED_TRACE(piece);
        EXPECT_EQ(colourOf(piece), std::optional<Colour>(colour));
    }
}

TEST(DrawPanel, PageMarkerAtTheTopTogglesWhileTheMarginKeepsTheColumnBand) {
    Fixture f(1000, 2000);
    f.setPlain(40);
    LineList& lines = *f.st.CurrentText;
    lines.put(20, "p003 ");
    f.st.Band = 0;
    f.renderer.DrawPanel(20);
    EXPECT_EQ(f.surface.fills.front().colour, kBg0);
    EXPECT_EQ(f.surface.texts.front().background, kBg1);
    EXPECT_EQ(f.st.Band, 1);
}

TEST(DrawPanel, SectionBreakIsBlankWithoutToggle) {
    Fixture f(1000, 2000);
    f.setText({"     one", "s000 ", "     two", "p999", "        END OF FILE", " "});
    f.renderer.DrawPanel(0);
    EXPECT_EQ(f.st.Band, 0);
    EXPECT_EQ(f.surface.texts[1].text, "     ");
    EXPECT_EQ(f.surface.texts[1].background, kBg0);
}

TEST(DrawPanel, WideLinesShrinkToTheFirstSizeThatFits) {
    struct Case {
        int fontSize;
        std::string line;
        int expectedSize;
    };
    // The column is 300 pixels; a character is as wide as the size.
    const std::vector<Case> cases = {
        {15, std::string(19, 'w'), 15},  // 20 characters with the blank: 300 fits
        {15, std::string(21, 'w'), 13},  // 22: 330 at 15, 308 at 14, 286 at 13
        {15, std::string(60, 'w'), 8},   // fits at no size: drawn at 8
        {8, std::string(60, 'w'), 8},    // at 8 nothing shrinks
        {6, std::string(60, 'w'), 6},   {15, "|9>" + std::string(19, 'w') + "|4>", 15},  // tags do not count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Fixture f(300, 2000);
        f.st.FontSize = c.fontSize;
        f.setText({c.line, "     next", "p999", "        END OF FILE", " "});
        f.renderer.DrawPanel(0);
        int drawnSize = -1;
        for (const auto& t : f.surface.texts)
            if (!t.text.empty()) {
                drawnSize = t.font.size;
                break;
            }
        EXPECT_EQ(drawnSize, c.expectedSize);
        // The next line starts again at the reading size.
        EXPECT_EQ(f.surface.texts.back().font.size, c.fontSize);
        // Each shrink step repaints the row.
        const int lineHeight = c.fontSize + 5;
        const auto rowFills =
            std::count_if(f.surface.fills.begin(), f.surface.fills.end(), [&](const auto& fc) {
                return fc.top == 5 && fc.left == 0 && fc.bottom == 5 + lineHeight && fc.right == 300;
            });
        EXPECT_EQ(rowFills, c.fontSize > 8 ? c.fontSize - c.expectedSize : 0);
    }
}

TEST(DrawPanel, TwoColumnsOnAnOddWidth) {
    Fixture f(801, 105);  // five lines per column
    f.controls.two = true;
    f.setPlain(30);
    LineList& lines = *f.st.CurrentText;
    for (int k = 0; k < 30; ++k) lines.put(k, "     line " + std::to_string(k));
    EXPECT_EQ(f.renderer.DrawPanel(0), 10);
    ASSERT_GE(f.surface.fills.size(), 2u);
    EXPECT_EQ(f.surface.fills.front().left, 0);
    EXPECT_EQ(f.surface.fills.front().right, 801);
    // The first column's rows end at 398; the second column opens at 403.
    bool secondFill = false;
    for (const auto& fc : f.surface.fills) {
        if (fc.top == 5 && fc.left > 0 && fc.left < 403) {
            EXPECT_EQ(fc.right, 398);
        }
        if (fc.left == 403 && fc.top == 0) secondFill = true;
    }
    EXPECT_TRUE(secondFill);
    EXPECT_EQ(f.surface.texts[5].x, 403);
    EXPECT_EQ(f.surface.texts[5].text, "     line 5 ");
    EXPECT_EQ(f.surface.texts[5].y, 5);
    ASSERT_EQ(f.surface.lines.size(), 1u);
    const auto& sep = f.surface.lines[0];
    EXPECT_EQ(sep.x1, 397);
    EXPECT_EQ(sep.x2, 397);
    EXPECT_EQ(sep.y1, 0);
    EXPECT_EQ(sep.y2, 105);
    EXPECT_EQ(sep.width, 6);
    EXPECT_EQ(sep.colour, 0x00808080u);
    EXPECT_EQ(f.st.ColumnWidth, 801);
}

TEST(DrawPanel, SecondColumnIsSkippedAtTheEndOfTheText) {
    Fixture f(801, 2000);
    f.controls.two = true;
    f.setText({"     a", "     b", "     c", " "});
    EXPECT_EQ(f.renderer.DrawPanel(0), 3);
    for (const auto& t : f.surface.texts) EXPECT_LT(t.x, 403);
    for (const auto& fc : f.surface.fills) EXPECT_NE(fc.left, 403);
}

TEST(DrawPanel, TagsSwitchFaceAndStyleAndLastAcrossPanels) {
    Fixture f(2000, 2000);
    f.setText(
        {"|b>1.  The Title|n> ", "     |f>fixed |a>serif |i>it|u>", "p999", "        END OF FILE", " "});
    f.renderer.DrawPanel(0);
    const auto& t = f.surface.texts;
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t[0].text, "");  // a line opening with a tag draws an empty piece first
    EXPECT_EQ(t[1].text, "1.  The Title");
    EXPECT_TRUE(t[1].font.style.bold);
    EXPECT_EQ(t[1].font.face, "Times New Roman");
    EXPECT_FALSE(t[2].font.style.bold);  // "|n>" ends the bold
    bool sawFixed = false;
    for (const auto& piece : t)
        if (piece.text == "fixed ") {
            sawFixed = true;
            EXPECT_EQ(piece.font.face, "Courier New");
        }
    EXPECT_TRUE(sawFixed);
    EXPECT_TRUE(f.surface.font.style.italic);
    EXPECT_TRUE(f.surface.font.style.underline);
    // The face and style stay on the surface for the next panel.
    EXPECT_EQ(f.surface.font.face, "Times New Roman");
}

TEST(DrawPanel, ImageTags) {
    const auto dir = std::filesystem::temp_directory_path() / "varnet-image-test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "pic.bmp") << "x";
    Fixture f(1000, 405);  // room for 20 lines
    f.st.BookFolder = dir.string() + "/";
    f.setPlain(30);
    LineList& lines = *f.st.CurrentText;
    lines.put(2, "     see |image>pic.bmp  ");
    lines.put(4, "     |image>missing.bmp");
    lines.put(6, "     after");
    EXPECT_EQ(f.renderer.DrawPanel(0), 5);  // the second image tag ends the column
    EXPECT_EQ(f.st.ImagePath, f.st.BookFolder + "pic.bmp");
    EXPECT_EQ(f.surface.rowAt(45), "     see   [image]");
    // The second image line draws nothing and fills at the foot of the column.
    EXPECT_EQ(f.surface.fills.back().top, 405 - 20 + 1);

    // A missing file drops the tag and the name.
    lines.put(2, "     |image>missing.bmp");
    f.surface.reset();
    f.renderer.DrawPanel(0);
    EXPECT_EQ(f.surface.rowAt(45), "     ");
    EXPECT_EQ(f.st.ImagePath, f.st.BookFolder + "missing.bmp");
    std::filesystem::remove_all(dir);
}

TEST(DrawPanel, MalformedLinesDrawWithoutReadingPastTheirEnd) {
    Fixture f(200, 2000);
    f.setText({"|", "|4", "ab|", "|refpt001", "x|refp", "|refpt002>", std::string(500, 'm'), "refp>tail",
               "p999", "        END OF FILE", " "});
    EXPECT_EQ(f.renderer.DrawPanel(0), 8);
    EXPECT_EQ(f.surface.rowAt(5), "");          // "|" + blank is one tag
    EXPECT_EQ(f.surface.rowAt(65), "     ");    // anchor without ">": rest dropped, blanks added
    EXPECT_EQ(f.surface.rowAt(105), "      ");  // "|refpt002> " leaves one blank: five added
    EXPECT_EQ(f.surface.rowAt(145), "tail ");   // "refp" at the line start: nothing before it goes
}

TEST(DrawPanel, SurfaceLowerThanOneLineDrawsOneLine) {
    Fixture f(400, 12);
    f.setPlain(10);
    EXPECT_EQ(f.renderer.DrawPanel(0), 1);
    EXPECT_EQ(f.surface.texts.size(), 1u);
    EXPECT_EQ(f.renderer.DrawPanel(-5), 1);  // a negative start draws from line 0
}

TEST(DrawPanel, DrawingIsBracketedOncePerPanel) {
    Fixture f(400, 400);
    f.setPlain(10);
    f.renderer.DrawPanel(0);
    f.renderer.DrawPanel(12);  // nothing to draw
    EXPECT_EQ(f.surface.begins, 1);
    EXPECT_EQ(f.surface.ends, 1);
}

TEST(DrawPanel, LineBoxesSayWhereEachLineOfTheLastPanelWent) {
    Fixture f(801, 105);  // five lines of 20 pixels per column
    f.controls.two = true;
    f.setPlain(30);
    LineList& lines = *f.st.CurrentText;
    lines.put(3, "     a |7>word|4> ");
    using Box = PanelRenderer::LineBox;
    EXPECT_EQ(f.renderer.DrawPanel(2), 12);
    // A character is 15 pixels wide; the line's own blank counts too.
    EXPECT_EQ(f.renderer.lineBox(2), (Box{0, 5, 19 * 15, 25}));
    EXPECT_EQ(f.renderer.lineBox(3), (Box{0, 25, 13 * 15, 45}));  // the tags are not drawn
    EXPECT_EQ(f.renderer.lineBox(6), (Box{0, 85, 19 * 15, 105}));
    EXPECT_EQ(f.renderer.lineBox(7), (Box{403, 5, 403 + 19 * 15, 25}));  // the second column
    EXPECT_EQ(f.renderer.lineBox(11), (Box{403, 85, 403 + 19 * 15, 105}));
    for (const std::int32_t notDrawn : {-1, 0, 1, 12, 13, 40}) EXPECT_FALSE(f.renderer.lineBox(notDrawn));

    f.renderer.DrawPanel(-3);  // drawn from line 0
    EXPECT_EQ(f.renderer.lineBox(0), (Box{0, 5, 19 * 15, 25}));
    f.renderer.DrawPanel(31);  // nothing drawn: no boxes
    for (std::int32_t k = -1; k < 34; ++k) EXPECT_FALSE(f.renderer.lineBox(k));
    f.st.CurrentText.reset();
    f.renderer.DrawPanel(0);
    EXPECT_FALSE(f.renderer.lineBox(0));
}

TEST(DrawPanel, HoldingALineDrawsFromTheStartOnlyWhenTheLineLandsThere) {
    struct Case {
        const char* name;
        std::int32_t start, line;
        std::int32_t top, next;  // the panel shown
        int drawings;
    };
    // Ten lines per panel: 40 phrase lines, then the end marker (40), the
    // closing line (41) and the final blank line (42).
    const std::vector<Case> cases = {
        {"on the first line", 10, 10, 10, 20, 1},
        {"on the last line", 10, 19, 10, 20, 1},
        {"just below", 10, 20, 20, 30, 2},
        {"far below", 10, 33, 33, 40, 2},
        {"above the start", 10, 4, 4, 14, 2},
        {"the end marker, after the panel's break point", 36, 40, 40, 42, 2},
        {"the closing line, on which no panel opens", 20, 41, 40, 42, 2},
        {"the closing line from its own start, which draws nothing", 41, 41, 40, 42, 1},
        {"the final blank line, never drawn", 40, 42, 40, 42, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(1000, 205);
        f.setPlain(40);
        EXPECT_EQ(f.renderer.DrawPanelHolding(c.start, c.line), c.next);
        EXPECT_EQ(f.st.TopLine, c.top);
        EXPECT_EQ(f.surface.begins, c.drawings);
        if (c.line < 42) {
            EXPECT_TRUE(f.renderer.lineBox(c.line));
        }
    }
}

TEST(DrawPanel, APanelThatDoesNotHoldTheLineLeavesNoTrace) {
    // The panel from line 0 would turn the band at its page marker and leave
    // the style bold; the panel shown, from line 20, must begin as it would
    // had it been drawn straight away.
    const auto fixture = [] {
        auto f = std::make_unique<Fixture>(1000, 205);
        f->setPlain(40);
        LineList& lines = *f->st.CurrentText;
        lines.put(3, "p002 ");
        lines.put(5, "     |b>bold|f> from here on");
        lines.put(20, "     the |7>hit|4> ");
        f->st.Band = 1;
        f->renderer.DrawPanel(25);  // Band is not reset by a start other than 0
        f->surface.reset();
        return f;
    };
    auto tried = fixture();
    tried->renderer.DrawPanel(3);
    ASSERT_EQ(tried->st.Band, 0);
    ASSERT_TRUE(tried->surface.font.style.bold);

    auto direct = fixture();
    direct->renderer.DrawPanel(20);
    auto held = fixture();
    held->renderer.DrawPanelHolding(3, 20);
    EXPECT_EQ(held->st.TopLine, 20);
    ASSERT_GT(held->surface.texts.size(), direct->surface.texts.size());
    const auto tail = [&](const auto& all, std::size_t n) { return std::vector(all.end() - n, all.end()); };
    const auto sameText = [](const auto& a, const auto& b) {
        return a.x == b.x && a.y == b.y && a.text == b.text && a.font == b.font &&
               a.background == b.background;
    };
    const auto heldTexts = tail(held->surface.texts, direct->surface.texts.size());
    EXPECT_TRUE(std::equal(heldTexts.begin(), heldTexts.end(), direct->surface.texts.begin(),
                           direct->surface.texts.end(), sameText));
    EXPECT_EQ(held->st.Band, direct->st.Band);
    EXPECT_EQ(held->surface.font, direct->surface.font);
}

TEST(Redraw, DrawsFromTopLineAndShowsThePaths) {
    Fixture f(400, 105);
    f.setPlain(40);
    f.st.TopLine = 12;
    f.st.NextLine = 99;
    f.st.BookmarkPath = "b";
    f.st.SettingsPath = "s";
    f.st.TocPath = "t";
    f.renderer.Redraw();
    EXPECT_EQ(f.st.TopLine, 12);
    EXPECT_EQ(f.st.NextLine, 17);
    EXPECT_EQ(f.controls.paths, "b|s|t");
}
