// The drawing surface of an image widget: an off-screen picture in logical
// pixels at the screen's device pixel ratio, of which the widget shows the
// top-left part. Sizes reported to the renderer are the widget's, not the
// picture's.
//
// The surface stands for a canvas the size of the screen (larger when the
// widget outgrows the screen), but its picture is only as large as the
// widget has been: made when first needed, grown with the widget, never
// shrunk. What is drawn outside the picture is remembered and painted in
// when the picture grows over it, so the picture always holds exactly what
// a canvas-size picture would hold wherever it reaches.
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
#include <functional>
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

    // Starts a new canvas of the given logical size, all white; drawing
    // outside it is clipped. No picture is made yet.
    void create(QSize logicalSize, qreal devicePixelRatio);
    // Grows the picture to cover the widget (and the canvas with it, when
    // the widget is larger); called before drawing and painting.
    void coverWidget();
    // The picture, grown to cover the widget first: at least the size the
    // widget has had, at most the canvas. A widget that has not been shown
    // gets no picture until it is shown or its picture is asked for; what is
    // drawn on it meanwhile is kept and painted in then.
    const QImage& image() {
        coverWidget();
        return image_;
    }
    QSize canvasSize() const { return canvas_; }
    // How many pieces drawn outside the picture are kept to be painted in.
    std::size_t keptCount() const { return outside_.size(); }

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
    // Grows the picture to at least the logical size, within the canvas.
    void grow(QSize logical);
    // Drawing that reaches past the picture is kept to be painted again when
    // the picture grows; `bounds` is what it may change, in logical pixels.
    // The common case, drawing inside the picture, costs one comparison.
    // `opaque` says the drawing covers all of `bounds`, hiding whatever was
    // drawn there before.
    template <typename Draw>
    void keepOutside(const QRect& bounds, Draw&& draw, bool opaque = false) {
        if (!reachesOutside(bounds)) return;
        keepOutsideSlow(bounds, std::function<void(QPainter&)>(std::forward<Draw>(draw)), opaque);
    }
    void keepOutsideSlow(const QRect& bounds, std::function<void(QPainter&)> draw, bool opaque);
    // Part of the rectangle lies on the canvas outside the picture.
    bool reachesOutside(const QRect& bounds) const {
        const QRect reach = bounds & QRect(QPoint(0, 0), canvas_);
        return !reach.isEmpty() && !picture_.contains(reach);
    }
    QRect pictureRect() const;
    void updateFont();
    // Lays the text out glyph by glyph into glyphs_ and positions_ (when
    // `place` is set) and returns its width in whole pixels.
    int layout(std::string_view text, bool place);
    void learn(FontEntry& entry, unsigned char c);

    struct Outside {
        QRect bounds;
        std::function<void(QPainter&)> draw;
    };

    QWidget& widget_;
    QImage image_;
    QRect picture_;  // the picture's extent in logical pixels
    QSize canvas_;
    qreal dpr_ = 1.0;
    // What was drawn reaching past the picture, in drawing order.
    std::vector<Outside> outside_;
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
