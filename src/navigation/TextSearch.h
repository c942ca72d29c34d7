// Searching the text on show from the Find dialog: a word in single lines, a
// phrase across a line and the next with the tags taken out, shown by drawing
// the panel that holds the hit.
#pragma once

#include "ReaderState.h"

#include <cstdint>
#include <functional>
#include <string>

namespace varnet {

// What a search needs of the modeless Find dialog; read afresh at every press.
class FindDialog {
public:
    virtual ~FindDialog() = default;
    virtual std::string findText() const = 0;
    virtual bool searchDown() const = 0;
    virtual bool matchCase() const = 0;
    virtual void close() = 0;
};

class TextSearch {
public:
    // drawPanel(start, line) draws a panel that holds `line`, from `start`
    // when `line` lands on that panel; it sets TopLine and returns the next
    // line (the window forwards it to PanelRenderer::DrawPanelHolding).
    using DrawPanelHolding = std::function<std::int32_t(std::int32_t start, std::int32_t line)>;
    TextSearch(ReaderState& state, FindDialog& dialog, DrawPanelHolding drawPanel)
        : state_(state), dialog_(dialog), drawPanel_(std::move(drawPanel)) {}

    // A press of find-next: down from NextLine or up from TopLine, or close
    // the dialog when there is no room to search that way.
    void FindDialog1Find();
    // Direction is +1 (down: Start is the line after the panel on show, and
    // the first line examined) or -1 (up: Start is the panel's top line, and
    // the line above it is examined first). Shows the first hit, or closes
    // the dialog when the search reaches its bound (line count - 2 down,
    // line 1 up), or would have to read a line past either end of the text,
    // without one.
    void SearchText(std::int32_t Start, std::int32_t Direction);
    // Draws a panel that shows the hit: from its page's marker when that lies
    // after the line the search started from and the hit lands on the panel
    // drawn from there, otherwise from the hit.
    void ShowFoundLine(std::int32_t Line);

private:
    std::int32_t lineCount() const;

    ReaderState& state_;
    FindDialog& dialog_;
    DrawPanelHolding drawPanel_;
};

}  // namespace varnet
