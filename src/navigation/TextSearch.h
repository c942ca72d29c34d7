// Searching the text on show from the Find dialog: a word in single lines, a
// phrase across a line and the next with the tags taken out, shown by drawing
// the panel that holds the hit.
#pragma once

#include "ReaderPorts.h"
#include "ReaderState.h"

#include <cstdint>
#include <string>

namespace varnet {

class TextSearch {
public:
    // A hit is shown by the panel drawer (the renderer), and the dialog is
    // told, so that it can move clear of the found line.
    TextSearch(ReaderState& state, FindDialog& dialog, HitPanelDrawer& drawer)
        : state_(state), dialog_(dialog), drawer_(drawer) {}

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
    HitPanelDrawer& drawer_;
};

}  // namespace varnet
