// Moving through a text panel by panel: forward exactly to where the last
// panel stopped, back by an estimate that lands on a nearby break point.
#pragma once

#include "PanelRenderer.h"

#include <cstdint>
#include <functional>

namespace varnet {

// Key codes the window's key handler acts on.
inline constexpr int kKeyPageUp = 0x21;
inline constexpr int kKeyPageDown = 0x22;

class Paging {
public:
    // closeFindDialog closes the Find dialog when it is showing.
    Paging(ReaderState& state, PanelRenderer& renderer, std::function<void()> closeFindDialog = {})
        : state_(state), renderer_(renderer), closeFindDialog_(std::move(closeFindDialog)) {}

    // Does nothing on the last panel.
    void PageForward();
    void PageBack();
    // Shows the panel starting at a line and returns the line after it; a
    // line at or past the text's end shows the text's last panel.
    std::int32_t ShowLine(std::int32_t line);

    void NextButtonClick();
    void PrevButtonClick();
    // Every key press in the main window passes here first and is consumed:
    // the key is set to 0 whatever it was.
    void FormKeyDown(int& key);
    void TwoColCheckBoxClick() { renderer_.Redraw(); }

    // The line PageBack would draw from, without drawing (for tests and
    // benchmarks of the estimate).
    std::int32_t pageBackStart();

private:
    bool onLastPanel() const;

    ReaderState& state_;
    PanelRenderer& renderer_;
    std::function<void()> closeFindDialog_;
};

}  // namespace varnet
