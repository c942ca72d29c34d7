// The drawing surface of an image widget: an off-screen picture the size of
// the screen, in logical pixels at the screen's device pixel ratio, of which
// the widget shows the top-left part. Sizes reported to the renderer are the
// widget's, not the picture's.
#pragma once

#include "DrawingSurface.h"
#include "FillTracker.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRawFont>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace varnet::ui {

class QtSurface final : public DrawingSurface, private FillTracker::Sink {
public:
    explicit QtSurface(QWidget& widget);
    ~QtSurface() override;
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

    // Makes a new picture of the given logical size, all white; drawing
    // outside it is clipped.
    void create(QSize logicalSize, qreal devicePixelRatio);
    const QImage& image() const { return image_; }

    int width() const override;
    int height() const override;
    void fillRect(int left, int top, int right, int bottom) override;
    int textWidth(std::string_view text) override;
    int textHeight(std::string_view text) override;
    void drawText(int x, int y, std::string_view text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void beginDrawing() override;
    void endDrawing() override;

    // Draws a picture scaled into the rectangle (logical pixels).
    void stretchDraw(const QRect& target, const QImage& picture);

    // The Qt font for the surface's current font, as drawing uses it.
    const QFont& currentFont();

    // A stored colour as drawn now: system colours come from the palette.
    static QColor resolve(Colour colour);
    // Font sizes are points at 96 dots per inch: 15 points are 20 pixels.
    static int pointsToPixels(int points);

private:
    // One face, size and style with what measuring and drawing need of it,
    // kept for reuse: shrinking a line steps through several sizes.
    struct FontEntry {
        std::string face;
        int size = 0;
        FontStyle style;
        QFont font;
        QFontMetrics metrics{QFont()};
        QRawFont raw;
        int ascent = 0;
        int cellHeight = 0;
        // Per Latin-1 character, filled on first use: the advance as Qt
        // measures the character alone (exact in 1/64 pixel), and its glyph.
        std::array<double, 256> advance{};
        std::array<quint32, 256> glyph{};
        std::array<bool, 256> known{};
    };

    void paint(int left, int top, int right, int bottom, std::uint32_t colour) override;
    void updateFont();
    // Lays the text out glyph by glyph into glyphs_ and positions_ (when
    // `place` is set) and returns its width in whole pixels.
    int layout(std::string_view text, bool place);
    void learn(FontEntry& entry, unsigned char c);

    QWidget& widget_;
    QImage image_;
    QPainter painter_;
    int drawingDepth_ = 0;
    // Fills wait in the tracker until something is drawn over them or the
    // drawing ends; off for fractional pixel ratios, where logical rows do
    // not map onto whole pixel rows.
    FillTracker fills_;
    bool trackFills_ = false;

    std::vector<std::unique_ptr<FontEntry>> fonts_;  // most recently used last
    FontEntry* current_ = nullptr;
    QRgb painterPen_ = 0;
    bool painterHasPen_ = false;

    // Reused between pieces, so drawing allocates nothing once warm.
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
    QGlyphRun run_;
};

}  // namespace varnet::ui
