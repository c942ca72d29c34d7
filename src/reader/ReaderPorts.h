// The small interfaces through which the reader's units reach the rest of the
// program: messages to the reader, the Find dialog's options, and the panel
// that shows a given line. The session implements them once, from the window
// and the engine; tests implement them with recording fakes.
#pragma once

#include <cstdint>
#include <string>

namespace varnet {

// Message boxes: a notice with OK, an error (the text, then a full stop), and
// a yes/no question.
class MessageWindow {
public:
    virtual ~MessageWindow() = default;
    virtual void notice(const std::string& text) = 0;
    virtual void error(const std::string& text) = 0;
    virtual bool askYesNo(const std::string& message, const std::string& title) = 0;
};

// What paging and searching need of the modeless Find dialog; read afresh at
// every press.
class FindDialog {
public:
    virtual ~FindDialog() = default;
    virtual std::string findText() const = 0;
    virtual bool searchDown() const = 0;
    virtual bool matchCase() const = 0;
    virtual void close() = 0;
    // A search has drawn the panel holding its hit (SearchFound): a dialog
    // over the found line moves clear of it.
    virtual void foundLineShown() {}
};

// Draws the panel on which a line stands (the last panel for a line at or
// past the text's end); sets TopLine and returns the next line.
class PanelPlacer {
public:
    virtual ~PanelPlacer() = default;
    virtual std::int32_t ShowLine(std::int32_t line) = 0;
};

// Draws a panel that holds `line`, from `start` when `line` lands on the panel
// drawn from there; sets TopLine and returns the next line.
class HitPanelDrawer {
public:
    virtual ~HitPanelDrawer() = default;
    virtual std::int32_t DrawPanelHolding(std::int32_t start, std::int32_t line) = 0;
};

}  // namespace varnet
