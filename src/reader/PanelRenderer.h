// Draws one panel of the text being read: as many lines as fit from a start
// line, in one or two columns, on the two colour bands, with the inline tags
// applied; and keeps the reading-position controls in step with it.
#pragma once

#include "DrawingSurface.h"
#include "ReaderPorts.h"
#include "ReaderState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnet {

// The window's side of a panel: the reading-position controls it updates and
// the display option it reads.
class PanelControls {
public:
    virtual ~PanelControls() = default;
    virtual void setPrevEnabled(bool enabled) = 0;
    virtual void setNextEnabled(bool enabled) = 0;
    virtual void setPositionCaption(const std::string& caption) = 0;
    virtual void setProgress(std::int32_t maximum, std::int32_t position) = 0;
    virtual bool twoColumns() const = 0;
    // The three hidden labels that show the side-file paths after a redraw.
    virtual void setPathCaptions(const std::string& bookmarkPath, const std::string& settingsPath,
                                 const std::string& tocPath) = 0;
    // The renderer has finished a panel (its last word on it).
    virtual void panelDrawn() {}
};

// Faces the font tags switch to.
inline constexpr const char* kFixedFace = "Courier New";
inline constexpr const char* kSerifFace = "Times New Roman";
// Placeholder drawn for an image whose file exists; the tag step eats the
// first three characters of it, leaving two blanks before the word.
inline constexpr const char* kImagePlaceholder = "     [image]";

class PanelRenderer final : public HitPanelDrawer {
public:
    static constexpr int kTopMargin = 5;
    static constexpr int kSmallestShrinkSize = 8;
    static constexpr Colour kSeparatorColour = 0x00808080;
    static constexpr int kSeparatorWidth = 6;

    PanelRenderer(ReaderState& state, DrawingSurface& surface, PanelControls& controls)
        : state_(state), surface_(surface), controls_(controls) {}

    // Draws the panel that starts at `start` and returns the first line not
    // drawn (-1 when there is no text, `start` itself when it lies at or past
    // the closing line).
    std::int32_t DrawPanel(std::int32_t start);
    // Draws the panel from `start` when `line` lands on it; otherwise the
    // panel that opens with `line` (with the line before it for the closing
    // line, on which no panel opens), begun on the band and in the font the
    // first try began with, as though that try had never been drawn.
    std::int32_t DrawPanelHolding(std::int32_t start, std::int32_t line) override;
    // Draws the panel on show again, from TopLine.
    void Redraw();

    // Where the last call of DrawPanel put a line on the surface: from the
    // column's left edge to the end of its text, one line height high (right
    // and bottom exclusive). None when that call did not draw the line.
    struct LineBox {
        int left, top, right, bottom;
        bool operator==(const LineBox&) const = default;
    };
    std::optional<LineBox> lineBox(std::int32_t line) const;

    DrawingSurface& surface() { return surface_; }

private:
    // Draws one line at y and returns the x its text reached.
    int drawLine(std::string_view text, int x0, int& y);

    ReaderState& state_;
    DrawingSurface& surface_;
    PanelControls& controls_;
    // The boxes of the lines the last panel drew, the first at firstBoxLine_.
    std::vector<LineBox> boxes_;
    std::int32_t firstBoxLine_ = 0;
};

}  // namespace varnet
