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
    // drawPanel draws a panel from a line, sets TopLine and returns the next
    // line (the window forwards it to PanelRenderer::DrawPanel).
    TextSearch(ReaderState& state, FindDialog& dialog, std::function<std::int32_t(std::int32_t)> drawPanel)
        : state_(state), dialog_(dialog), drawPanel_(std::move(drawPanel)) {}

    // A press of find-next: down from NextLine or up from TopLine, or close
    // the dialog when there is no room to search that way.
    void FindDialog1Find();
    // Direction is +1 (down) or -1 (up). Shows the first hit, or closes the
    // dialog when the search reaches a bound, or would have to read a line
    // past either end of the text, without one.
    void SearchText(std::int32_t Start, std::int32_t Direction);
    // Draws the panel that shows the hit: from its page's marker when that
    // lies after the line the search started from, otherwise from the hit.
    void ShowFoundLine(std::int32_t Line);

private:
    std::int32_t lineCount() const;

    ReaderState& state_;
    FindDialog& dialog_;
    std::function<std::int32_t(std::int32_t)> drawPanel_;
};

}  // namespace varnet
