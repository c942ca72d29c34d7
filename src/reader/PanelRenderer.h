// Draws one panel of the text being read: as many lines as fit from a start
// line, in one or two columns, on the two colour bands, with the inline tags
// applied; and keeps the reading-position controls in step with it.
#pragma once

#include "DrawingSurface.h"
#include "ReaderState.h"

#include <cstdint>
#include <string>

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
};

// Faces the font tags switch to.
inline constexpr const char* kFixedFace = "Courier New";
inline constexpr const char* kSerifFace = "Times New Roman";
// Placeholder drawn for an image whose file exists; the tag step eats the
// first three characters of it, leaving two blanks before the word.
inline constexpr const char* kImagePlaceholder = "     [image]";

class PanelRenderer {
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
    // Draws the panel on show again, from TopLine.
    void Redraw();

    DrawingSurface& surface() { return surface_; }

private:
    void drawLine(const std::string& text, int x0, int& y);

    ReaderState& state_;
    DrawingSurface& surface_;
    PanelControls& controls_;
};

}  // namespace varnet
