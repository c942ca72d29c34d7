#include "LineFormat.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace varnet;

namespace {

using Predicate = std::function<bool(std::string_view)>;

const std::vector<std::pair<std::string, Predicate>>& predicates() {
    static const std::vector<std::pair<std::string, Predicate>> all = {
        {"page", isPageMarker},
        {"numbered", isNumberedPageMarker},
        {"byline", isBylineMarker},
        {"section", beginsSectionBreak},
        {"holdsSection", holdsSectionBreak},
        {"marker", isMarkerLine},
        {"indent", isIndentLine},
        {"anchor", isAnchorLine},
        {"anchorTag", holdsAnchorTag},
        {"fixed", switchesToFixedFace},
        {"image", holdsImageTag},
        {"breakPoint", isPanelBreakPoint},
        {"backStop", isPageBackStop},
    };
    return all;
}

}  // namespace

// Each line lists the predicates that hold for it; every other one must not.
TEST(LineFormat, KindsOfLines) {
    struct Case {
        std::string line;
        std::set<std::string> holds;
    };
    const std::vector<Case> cases = {
        {"p002 ", {"page", "numbered", "marker", "breakPoint", "backStop"}},
        {"p1234", {"page", "numbered", "marker", "breakPoint", "backStop"}},
        {"p00by Aesop 1 ", {"page", "numbered", "byline", "marker", "breakPoint", "backStop"}},
        {"p00b", {"page", "numbered", "marker", "breakPoint", "backStop"}},
        {"pa", {"page", "marker", "breakPoint", "backStop"}},
        {"P002 ", {}},
        {"s000 ", {"section", "holdsSection", "marker", "breakPoint", "backStop"}},
        {"     s000 ", {"holdsSection"}},
        {"seal and fox", {"section", "marker", "breakPoint", "backStop"}},
        {"l05word ", {"indent"}},
        {"l00|refpt001> ", {"indent", "anchor", "anchorTag"}},
        {"|refpt001> ", {"anchor", "anchorTag"}},
        {"the refpoint", {"anchor"}},
        {"     |f>code|a> ", {"fixed"}},
        {"|f", {"breakPoint"}},
        {"rest of it", {"breakPoint"}},
        {"|b>p4", {}},
        {"|image>fox.png", {"image"}},
        {"     the fox |im>fox.png", {"image"}},
        {"|b>|im", {"image"}},
        {"     the stage>door ", {}},
        {"|i>image> ", {}},
        {"||image>", {}},
        {"x", {"breakPoint", "backStop"}},
        {"", {"breakPoint", "backStop"}},
    };
    for (const auto& c : cases) {
        for (const auto& [name, holds] : predicates())
            EXPECT_EQ(holds(c.line), c.holds.count(name) == 1) << '"' << c.line << "\" " << name;
    }
}

TEST(LineFormat, TagAtABar) {
    struct Case {
        std::string line;
        std::size_t position;
        TagKind kind;
        int colour;
    };
    const std::vector<Case> cases = {
        {"|7>Fox|4> ", 0, TagKind::Colour, 7},
        {"|7>Fox|4> ", 6, TagKind::Colour, 4},
        {"|1>", 0, TagKind::Colour, 1},
        {"|9", 0, TagKind::Colour, 9},
        {"|0>", 0, TagKind::Other, 0},
        {"|f>", 0, TagKind::FixedFace, 0},
        {"|a>", 0, TagKind::SerifFace, 0},
        {"ab|b>c", 2, TagKind::Bold, 0},
        {"|n> ", 0, TagKind::Normal, 0},
        {"|i>", 0, TagKind::Italic, 0},
        {"|ix", 0, TagKind::Other, 0},
        {"|i", 0, TagKind::Other, 0},
        {"|u>", 0, TagKind::Underline, 0},
        {"|image>fox.png", 0, TagKind::Image, 0},
        {"|p> ", 0, TagKind::Paragraph, 0},
        {"|p", 0, TagKind::Other, 0},
        {"|refpt001> ", 0, TagKind::Anchor, 0},
        {"|ref", 0, TagKind::Other, 0},
        {"|", 0, TagKind::Other, 0},
        // No bar at the position, or no position in the line.
        {"ab|b>c", 0, TagKind::None, 0},
        {"ab|b>c", 3, TagKind::None, 0},
        {"|b>", 3, TagKind::None, 0},
        {"", 0, TagKind::None, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line + " at " + std::to_string(c.position));
        EXPECT_EQ(tagAt(c.line, c.position), c.kind);
        EXPECT_EQ(tagColour(c.line, c.position), c.colour);
    }
}

// What the layout writes is what the readers recognise.
TEST(LineFormat, WrittenCodesAndTags) {
    struct Case {
        std::string written, expected;
    };
    const std::vector<Case> cases = {
        {anchorName(1), "refpt001"},     {anchorName(24), "refpt024"},
        {anchorName(1234), "refpt1234"}, {indentCode(0), "l00"},
        {indentCode(8), "l08"},          {indentCode(32), "l32"},
        {pageMarker(2), "p002"},         {pageMarker(1110), "p1110"},
        {tagText("b"), "|b>"},           {tagText(anchorName(3)), "|refpt003>"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.written, c.expected);

    for (const int n : {2, 99, 1110}) {
        EXPECT_TRUE(isNumberedPageMarker(pageMarker(n))) << n;
        EXPECT_FALSE(isBylineMarker(pageMarker(n))) << n;
    }
    const std::string anchorLine = indentCode(0) + tagText(anchorName(7)) + " ";
    EXPECT_TRUE(isIndentLine(anchorLine));
    EXPECT_TRUE(holdsAnchorTag(anchorLine));
    EXPECT_EQ(tagAt(anchorLine, kIndentCodeLength), TagKind::Anchor);
    EXPECT_EQ(tagAt(kParagraphLine, kIndentCodeLength), TagKind::Paragraph);
    EXPECT_TRUE(switchesToFixedFace(kFixedFaceSwitch));
    EXPECT_EQ(tagAt(kFixedFaceSwitch, 0), TagKind::FixedFace);
    EXPECT_EQ(tagColour(kBodyColourOpening, 0), kBodyColourTag - '0');
    EXPECT_TRUE(holdsSectionBreak(kSectionBreakLine) && beginsSectionBreak(kSectionBreakLine));
}
