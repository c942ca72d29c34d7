#include "DisplayOptions.h"
#include "FakeSurface.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace varnet;
using varnet::testing::FakeControls;
using varnet::testing::FakeSurface;

namespace {

// Option widgets that behave as the window's do: setting the track bar from
// code clamps it and runs its change handler when the position changes.
class FakeOptions : public OptionWidgets {
public:
    int schemeSelection() const override { return scheme; }
    bool noColouredTextChecked() const override { return noColour; }
    bool singleShadeChecked() const override { return singleShade; }
    int fontSizePosition() const override { return trackBar; }
    void setFontSizeCaption(const std::string& c) override { caption = c; }
    void setFontSizeSpinner(int p) override { spinner = p; }
    void setFontSizePosition(int p) override {
        p = std::clamp(p, kMinFontSize, kMaxFontSize);
        if (p == trackBar) return;
        trackBar = p;
        handlers->FontSizeTrackBarChange();
    }
    void setTreeFontSize(int p) override { treeFont = p; }

    DisplayOptions* handlers = nullptr;
    int scheme = 0;
    bool noColour = false;
    bool singleShade = false;
    int trackBar = 15;
    int spinner = 4;
    int treeFont = 0;
    std::string caption;
};

class CountingControls : public FakeControls {
public:
    void setPathCaptions(const std::string& a, const std::string& b, const std::string& c) override {
        ++redraws;
        FakeControls::setPathCaptions(a, b, c);
    }
    int redraws = 0;
};

struct Fixture {
    ReaderState st;
    FakeSurface surface{400, 400};
    CountingControls controls;
    PanelRenderer renderer{st, surface, controls};
    FakeOptions widgets;
    DisplayOptions options{st, renderer, widgets};
    Fixture() {
        widgets.handlers = &options;
        st.FontSize = 15;
        st.CurrentText = LineList({"     a", "p002 ", "     b", "p999", "        END OF FILE", " "});
    }
};

enum class Action {
    SelectLight,
    SelectDark,
    SelectWindows,
    CheckNoColour,
    UncheckNoColour,
    CheckSingle,
    UncheckSingle
};

void act(Fixture& f, Action a) {
    switch (a) {
        case Action::SelectLight:
            f.widgets.scheme = 0;
            f.options.BGColorRadioGroupClick();
            break;
        case Action::SelectDark:
            f.widgets.scheme = 1;
            f.options.BGColorRadioGroupClick();
            break;
        case Action::SelectWindows:
            f.widgets.scheme = 2;
            f.options.BGColorRadioGroupClick();
            break;
        case Action::CheckNoColour:
            f.widgets.noColour = true;
            f.options.TwoColorCheckBoxClick();
            break;
        case Action::UncheckNoColour:
            f.widgets.noColour = false;
            f.options.TwoColorCheckBoxClick();
            break;
        case Action::CheckSingle:
            f.widgets.singleShade = true;
            f.options.SingleShadeBgCheckBoxClick();
            break;
        case Action::UncheckSingle:
            f.widgets.singleShade = false;
            f.options.SingleShadeBgCheckBoxClick();
            break;
    }
}

}  // namespace

// (scheme and boxes before, what the reader does) -> both rows, Band, redraws.
TEST(DisplayOptions, ChainsGiveTheTableAndTheRedraws) {
    constexpr Colour kLight1 = 0x00A6C2DD, kLight0 = 0x009FBCE3, kDark1 = 0x00454538, kDark0 = 0x00462F39;
    constexpr Colour kDarkText = 0x0087D6E7;
    struct Case {
        const char* name;
        int scheme;
        bool noColour, single;
        Action action;
        Colour bg0, bg1;
        Colour marked0, marked1;  // index 6 ("|7>") of each row
        int band;
        int redraws;
    };
    const std::vector<Case> cases = {
        {"Dark, no modifier", 0, false, false, Action::SelectDark, kDark0, kDark1, 0x00ACA4FB, 0x009DB1E1, 0,
         1},
        {"Light with No Colored Text", 1, true, false, Action::SelectLight, kLight0, kLight1, 0, 0, 0, 2},
        {"Light with both modifiers", 1, true, true, Action::SelectLight, kLight1, kLight1, 0, 0, 0, 3},
        {"1 Color checked, then Dark: bands differ again", 0, false, true, Action::SelectDark, kDark0, kDark1,
         0x00ACA4FB, 0x009DB1E1, 0, 1},
        {"Windows keeps no modifier", 0, true, true, Action::SelectWindows, kSystemWindowBackground,
         kSystemWindowBackground, kSystemGreyText, kSystemGreyText, 0, 1},
        {"check No Colored Text under Dark", 1, true, false, Action::CheckNoColour, kDark0, kDark1, kDarkText,
         kDarkText, 0, 1},
        {"check No Colored Text with 1 Color", 1, true, true, Action::CheckNoColour, kDark1, kDark1,
         kDarkText, kDarkText, 0, 2},
        {"uncheck No Colored Text", 1, false, false, Action::UncheckNoColour, kDark0, kDark1, 0x00ACA4FB,
         0x009DB1E1, 0, 1},
        {"uncheck No Colored Text with 1 Color", 1, false, true, Action::UncheckNoColour, kDark1, kDark1,
         0x009DB1E1, 0x009DB1E1, 0, 2},
        {"check 1 Color keeps the band", 1, false, true, Action::CheckSingle, kDark1, kDark1, 0x009DB1E1,
         0x009DB1E1, 1, 1},
        {"uncheck 1 Color with No Colored Text", 0, true, false, Action::UncheckSingle, kLight0, kLight1, 0,
         0, 0, 2},
        {"uncheck 1 Color under Windows with No Colored Text", 2, true, false, Action::UncheckSingle,
         kSystemWindowBackground, kSystemWindowBackground, kSystemGreyText, kSystemGreyText, 0, 1},
        {"no selection does nothing", -1, false, false, Action::UncheckNoColour, 0, 0, 0, 0, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        // Start from Dark filled (all black when no item is selected), on
        // band 1, with the boxes as the case says.
        if (c.scheme != -1) fillScheme(f.st, Scheme::Dark);
        f.widgets.scheme = c.scheme;
        f.widgets.noColour = c.noColour;
        f.widgets.singleShade = c.single;
        f.st.Band = 1;
        f.st.TopLine = 2;
        f.controls.redraws = 0;
        act(f, c.action);
        EXPECT_EQ(f.st.SchemeColours[0][0], c.bg0);
        EXPECT_EQ(f.st.SchemeColours[1][0], c.bg1);
        EXPECT_EQ(f.st.SchemeColours[0][6], c.marked0);
        EXPECT_EQ(f.st.SchemeColours[1][6], c.marked1);
        EXPECT_EQ(f.controls.redraws, c.redraws);
        // The redraw starts the panel on show in band 0 after a fill or copy;
        // drawing from line 2 then toggles nothing, so Band tells which.
        EXPECT_EQ(f.st.Band, c.band);
        // Indices 1, 2 and 4 are never written.
        for (int r = 0; r < 2; ++r)
            for (int k : {1, 2, 4}) EXPECT_EQ(f.st.SchemeColours[r][k], 0u);
    }
}

TEST(DisplayOptions, FontSizeTrackBarAndSpinner) {
    Fixture f;
    f.widgets.trackBar = 23;
    f.options.FontSizeTrackBarChange();
    EXPECT_EQ(f.widgets.caption, "Font Size = 23");
    EXPECT_EQ(f.st.FontSize, 23);
    EXPECT_EQ(f.widgets.spinner, 23);
    EXPECT_EQ(f.widgets.treeFont, 23);
    EXPECT_EQ(f.surface.texts.front().font.size, 23);

    // A spinner step runs the change handler once or twice, same end state.
    f.controls.redraws = 0;
    f.options.FontSizeUpDownClick(24);
    EXPECT_EQ(f.st.FontSize, 24);
    EXPECT_EQ(f.controls.redraws, 2);
    f.widgets.trackBar = 40;
    f.options.FontSizeUpDownClick(41);  // the track bar keeps its range
    EXPECT_EQ(f.widgets.trackBar, 40);
    EXPECT_EQ(f.st.FontSize, 40);
    EXPECT_EQ(f.widgets.caption, "Font Size = 40");
}
