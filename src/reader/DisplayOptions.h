// The handlers of the colour-scheme and font-size widgets. The choices live in
// the widgets; these handlers read them, fill the colour table, set the
// reading size, run one another where one option depends on another, and end
// in a redraw.
#pragma once

#include "ColourSchemes.h"
#include "PanelRenderer.h"

#include <string>

namespace varnet {

// The option widgets as the handlers see them. In the window, setting a
// widget's value from code runs that widget's handler when the value changes.
class OptionWidgets {
public:
    virtual ~OptionWidgets() = default;
    virtual int schemeSelection() const = 0;  // -1 (none), 0 Light, 1 Dark, 2 Windows
    virtual bool noColouredTextChecked() const = 0;
    virtual bool singleShadeChecked() const = 0;
    virtual int fontSizePosition() const = 0;
    virtual void setFontSizeCaption(const std::string& caption) = 0;
    // Moves the spinner; runs nothing.
    virtual void setFontSizeSpinner(int position) = 0;
    // Keeps the position within 4..40; runs FontSizeTrackBarChange when the
    // position changes.
    virtual void setFontSizePosition(int position) = 0;
    virtual void setTreeFontSize(int points) = 0;
};

inline constexpr int kMinFontSize = 4;
inline constexpr int kMaxFontSize = 40;

class DisplayOptions {
public:
    DisplayOptions(ReaderState& state, PanelRenderer& renderer, OptionWidgets& widgets)
        : state_(state), renderer_(renderer), widgets_(widgets) {}

    void ApplyLightScheme();
    void ApplyDarkScheme();
    void ApplyWindowsScheme();
    void BGColorRadioGroupClick();
    void TwoColorCheckBoxClick();
    void SingleShadeBgCheckBoxClick();
    void FontSizeTrackBarChange();
    // After the spinner moved to `position`.
    void FontSizeUpDownClick(int position);

private:
    void applyColouredScheme(Scheme scheme);

    ReaderState& state_;
    PanelRenderer& renderer_;
    OptionWidgets& widgets_;
};

// "Font Size = " and the size in decimal.
std::string fontSizeCaption(int size);

}  // namespace varnet
