// The drawing layer the panel renderer paints through. The window layer backs
// it with an off-screen picture; tests back it with a recorder of fixed glyph
// metrics. The surface keeps its font, fill colour and pen between calls,
// because the text format relies on tag effects lasting across panels.
#pragma once

#include "Colour.h"

#include <string>
#include <string_view>

namespace varnet {

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontStyle&) const = default;
};

struct SurfaceFont {
    std::string face;
    int size = 0;  // points
    Colour colour = 0;
    FontStyle style;
    bool operator==(const SurfaceFont&) const = default;
};

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // Fills the rectangle (right and bottom exclusive) with fillColour.
    virtual void fillRect(int left, int top, int right, int bottom) = 0;
    // Size in pixels of the text in the current font.
    virtual int textWidth(std::string_view text) = 0;
    virtual int textHeight(std::string_view text) = 0;
    // Draws text with its top-left corner at (x, y), the character cells
    // painted in fillColour behind the glyphs.
    virtual void drawText(int x, int y, std::string_view text) = 0;
    // A line in the pen's width and colour.
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;

    // Bracket one panel's drawing, so a surface can hold its painter open
    // across the many small calls of a panel. Measuring works outside too.
    virtual void beginDrawing() {}
    virtual void endDrawing() {}

    SurfaceFont font;
    Colour fillColour = 0;
    int penWidth = 1;
    Colour penColour = 0;
};

}  // namespace varnet
