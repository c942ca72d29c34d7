// Moving through a text panel by panel: forward exactly to where the last
// panel stopped, back by an estimate that lands on a nearby break point.
#pragma once

#include "PanelRenderer.h"

#include <cstdint>

namespace varnet {

// Key codes the window's key handler acts on.
inline constexpr int kKeyPageUp = 0x21;
inline constexpr int kKeyPageDown = 0x22;
// Keys that page while the reading surface has the focus.
inline constexpr int kKeySpace = 0x20;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;

class Paging final : public PanelPlacer {
public:
    // The Prev and Next buttons close the Find dialog, when there is one.
    Paging(ReaderState& state, PanelRenderer& renderer, FindDialog* findDialog = nullptr)
        : state_(state), renderer_(renderer), findDialog_(findDialog) {}

    // Does nothing on the last panel.
    void PageForward();
    void PageBack();
    // Shows the panel starting at a line and returns the line after it; a
    // line at or past the text's end shows the text's last panel.
    std::int32_t ShowLine(std::int32_t line) override;

    void NextButtonClick();
    void PrevButtonClick();
    // Every key press in the main window passes here first. Page Up and Page
    // Down page and are consumed (the key is set to 0); every other key is
    // left for the focused widget.
    void FormKeyDown(int& key);
    // A key pressed while the reading surface has the focus: Space, Down and
    // Right page forward, Shift+Space, Up and Left page back; a key acted on
    // is consumed.
    void ReadingKeyDown(int& key, bool shift);
    void TwoColCheckBoxClick() { renderer_.Redraw(); }

    // The line PageBack would draw from, without drawing (for tests and
    // benchmarks of the estimate).
    std::int32_t pageBackStart();

private:
    bool onLastPanel() const;

    ReaderState& state_;
    PanelRenderer& renderer_;
    FindDialog* findDialog_;
};

}  // namespace varnet
