#include "DisplayOptions.h"

namespace varnet {

std::string fontSizeCaption(int size) {
    return "Font Size = " + std::to_string(size);
}

void DisplayOptions::applyColouredScheme(Scheme scheme) {
    fillScheme(state_, scheme);
    if (widgets_.noColouredTextChecked()) TwoColorCheckBoxClick();
    renderer_.Redraw();
}

void DisplayOptions::ApplyLightScheme() {
    applyColouredScheme(Scheme::Light);
}
void DisplayOptions::ApplyDarkScheme() {
    applyColouredScheme(Scheme::Dark);
}

void DisplayOptions::ApplyWindowsScheme() {
    // The system-colour scheme re-applies neither modifier.
    fillScheme(state_, Scheme::Windows);
    renderer_.Redraw();
}

void DisplayOptions::BGColorRadioGroupClick() {
    switch (widgets_.schemeSelection()) {
        case 0:
            ApplyLightScheme();
            break;
        case 1:
            ApplyDarkScheme();
            break;
        case 2:
            ApplyWindowsScheme();
            break;
        default:
            break;  // no item selected: nothing, not even a redraw
    }
}

void DisplayOptions::TwoColorCheckBoxClick() {
    if (widgets_.noColouredTextChecked()) {
        copyNoColouredText(state_);
        renderer_.Redraw();
    } else {
        BGColorRadioGroupClick();
    }
    if (widgets_.singleShadeChecked()) SingleShadeBgCheckBoxClick();
}

void DisplayOptions::SingleShadeBgCheckBoxClick() {
    if (widgets_.singleShadeChecked()) {
        copySingleShade(state_);
        renderer_.Redraw();
    } else {
        BGColorRadioGroupClick();
    }
}

void DisplayOptions::FontSizeTrackBarChange() {
    const int position = widgets_.fontSizePosition();
    widgets_.setFontSizeCaption(fontSizeCaption(position));
    state_.FontSize = position;
    widgets_.setFontSizeSpinner(position);
    widgets_.setTreeFontSize(state_.FontSize);
    renderer_.Redraw();
}

void DisplayOptions::FontSizeUpDownClick(int position) {
    widgets_.setFontSizePosition(position);
    FontSizeTrackBarChange();
}

}  // namespace varnet
