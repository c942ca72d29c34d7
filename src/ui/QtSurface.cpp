#include "QtSurface.h"

#include "PanelRenderer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPalette>
#include <QWidget>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace varnet::ui {

namespace {

// A new surface draws in the serif face until a tag names another.
constexpr const char* kDefaultFace = kSerifFace;
// At most this many pieces drawn outside the picture are kept at a time.
constexpr std::size_t kMaxKept = 400;
// Enough faces, sizes and styles for a panel's shrinking and tags.
constexpr std::size_t kFontCacheSize = 24;

// Opens the painter for calls made outside a panel's drawing bracket.
class PaintScope {
public:
    explicit PaintScope(QtSurface& s) : s_(s) { s_.beginDrawing(); }
    ~PaintScope() { s_.endDrawing(); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

private:
    QtSurface& s_;
};

bool isControl(unsigned char c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}
// Characters Qt lays out without a glyph: the control codes and the soft hyphen.
bool hasNoGlyph(unsigned char c) {
    return isControl(c) || c == 0xAD;
}

// Control codes (tabs, and the one Qt ends a measured string at) have rules
// of their own in Qt's layout; text holding them goes through it whole.
bool needsQtLayout(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return isControl(static_cast<unsigned char>(c)); });
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtSurface::QtSurface(QWidget& widget) : widget_(widget) {}

QtSurface::~QtSurface() {
    if (painter_.isActive()) painter_.end();
}

void QtSurface::create(QSize logicalSize, qreal devicePixelRatio) {
    if (painter_.isActive()) painter_.end();
    drawingDepth_ = 0;
    dpr_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    canvas_ = logicalSize.expandedTo(QSize(1, 1));
    image_ = QImage();
    picture_ = QRect();
    outside_.clear();
    trackFills_ = dpr_ == std::floor(dpr_);
    fills_.reset(0, 0, QColor(Qt::white).rgb());
}

QRect QtSurface::pictureRect() const {
    return picture_;
}

void QtSurface::coverWidget() {
    grow(widget_.size());
}

void QtSurface::grow(QSize logical) {
    if (canvas_.isEmpty()) return;  // no canvas made yet
    // A widget larger than the canvas (a window outgrowing the screen) has
    // its lines drawn where the canvas had none: the canvas grows with it.
    canvas_ = canvas_.expandedTo(logical);
    const QSize current = pictureRect().size();
    QSize target = current.expandedTo(logical).boundedTo(canvas_);
    // At a fractional pixel ratio logical edges fall inside device pixels,
    // so a picture grown piece by piece could show a seam: it is made at the
    // canvas's size at once.
    if (!target.isEmpty() && dpr_ != std::floor(dpr_)) target = canvas_;
    if (target == current || target.isEmpty()) return;

    // Inside a drawing bracket the painter carries on in the new picture.
    const bool drawing = drawingDepth_ > 0;
    if (painter_.isActive()) {
        fills_.flush(*this);
        painter_.end();
    }
    const QSize pixels(qMax(1, qCeil(target.width() * dpr_)), qMax(1, qCeil(target.height() * dpr_)));
    QImage grown(pixels, QImage::Format_RGB32);
    grown.fill(Qt::white);
    // The part already made is copied as it is, byte for byte.
    const int rows = std::min(image_.height(), grown.height());
    const auto rowBytes = static_cast<std::size_t>(std::min(image_.width(), grown.width())) * 4;
    for (int y = 0; y < rows; ++y) std::memcpy(grown.scanLine(y), image_.constScanLine(y), rowBytes);
    grown.setDevicePixelRatio(dpr_);
    // The new part gets what was drawn there, in the order it was drawn.
    if (!outside_.empty()) {
        const QRegion added = QRegion(QRect(QPoint(0, 0), target)) - QRegion(QRect(QPoint(0, 0), current));
        QPainter replay(&grown);
        for (const Outside& o : outside_) {
            // Each piece only where it was kept for, so that dropping a piece
            // whose kept part is covered loses nothing.
            const QRegion where = added & QRegion(o.bounds);
            if (where.isEmpty()) continue;
            replay.save();
            replay.setClipRegion(where);
            o.draw(replay);
            replay.restore();
        }
    }
    // Moved, not shared: a painter begun on a shared picture would copy it.
    image_ = std::move(grown);
    picture_ = QRect(QPoint(0, 0), target);
    const QRect covered(QPoint(0, 0), target);
    std::erase_if(outside_, [&](const Outside& o) { return covered.contains(o.bounds); });

    // The picture is no longer of one colour: the fill tracker knows nothing
    // of what it holds.
    fills_.reset(target.width(), target.height(), QColor(Qt::white).rgb());
    fills_.touch(0, 0, target.width(), target.height(), *this);
    if (drawing) {
        painter_.begin(&image_);
        painterHasPen_ = false;
    }
}

void QtSurface::keepOutsideSlow(const QRect& bounds, std::function<void(QPainter&)> draw, bool opaque) {
    const QRect canvas(QPoint(0, 0), canvas_);
    const QRect reach = bounds.intersected(canvas);
    if (reach.isEmpty() || picture_.contains(reach)) return;
    // What an opaque fill covers whole is hidden by it: a hidden widget that
    // draws panel after panel keeps about one panel's worth.
    if (opaque) std::erase_if(outside_, [&](const Outside& o) { return reach.contains(o.bounds); });
    // Pieces that reach a little past the widget (a column separator, a
    // line ending at the edge) are never covered by the next panel's fills.
    // Past a bound the picture grows over everything kept so far, which
    // then needs keeping no longer.
    if (outside_.size() >= kMaxKept) {
        QRect all;
        for (const Outside& o : outside_) all |= o.bounds;
        grow(QSize(all.right() + 1, all.bottom() + 1));
        if (picture_.contains(reach)) return;
    }
    outside_.push_back({reach, std::move(draw)});
}

int QtSurface::width() const {
    return widget_.width();
}
int QtSurface::height() const {
    return widget_.height();
}

int QtSurface::pointsToPixels(int points) {
    return std::max(1, (points * 96 + 36) / 72);
}

QColor QtSurface::resolve(Colour colour) {
    if (isSystemColour(colour)) {
        const QPalette palette = QGuiApplication::palette();
        switch (systemColourNumber(colour)) {
            case 5:
                return palette.color(QPalette::Active, QPalette::Base);
            case 8:
                return palette.color(QPalette::Active, QPalette::Text);
            case 17:
                return palette.color(QPalette::Disabled, QPalette::Text);
            default:
                return palette.color(QPalette::Active, QPalette::Window);
        }
    }
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

void QtSurface::paint(int left, int top, int right, int bottom, std::uint32_t colour) {
    painter_.fillRect(QRect(left, top, right - left, bottom - top), QColor::fromRgb(colour));
}

void QtSurface::updateFont() {
    const auto matches = [this](const FontEntry& e) {
        return e.size == font.size && e.style == font.style && e.face == font.face;
    };
    if (current_ && matches(*current_)) return;
    auto found = std::find_if(fonts_.begin(), fonts_.end(), [&](const auto& e) { return matches(*e); });
    if (found != fonts_.end()) {
        std::rotate(found, found + 1, fonts_.end());
        current_ = fonts_.back().get();
        return;
    }
    if (fonts_.size() == kFontCacheSize) fonts_.erase(fonts_.begin());
    auto entry = std::make_unique<FontEntry>();
    entry->face = font.face;
    entry->size = font.size;
    entry->style = font.style;
    QFont& f = entry->font;
    f = QFont(QString::fromLatin1(font.face.empty() ? kDefaultFace : font.face.c_str()));
    f.setPixelSize(pointsToPixels(font.size));
    f.setBold(font.style.bold);
    f.setItalic(font.style.italic);
    f.setUnderline(font.style.underline);
    // Text is laid out glyph by glyph, without kerning or ligatures, as the
    // reader's texts were measured; it also spares a shaping pass per piece.
    f.setKerning(false);
    f.setStyleStrategy(QFont::PreferNoShaping);
    entry->metrics = QFontMetrics(f);
    entry->raw = QRawFont::fromFont(f);
    entry->ascent = entry->metrics.ascent();
    entry->cellHeight = entry->metrics.height();
    fonts_.push_back(std::move(entry));
    current_ = fonts_.back().get();
}

const QFont& QtSurface::currentFont() {
    updateFont();
    return current_->font;
}

void QtSurface::learn(FontEntry& e, unsigned char c) {
    const QString one(QChar(static_cast<char16_t>(c)));
    e.advance[c] = QFontMetricsF(e.font).horizontalAdvance(one);
    const QList<quint32> g = hasNoGlyph(c) ? QList<quint32>() : e.raw.glyphIndexesForString(one);
    e.glyph[c] = g.isEmpty() ? 0 : g.front();
    e.known[c] = true;
}

int QtSurface::layout(std::string_view text, bool place) {
    FontEntry& e = *current_;
    // Advances are whole 64ths of a pixel, so the sum is exact; the width is
    // rounded as Qt rounds a string's advance.
    double pen = 0;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!e.known[c]) learn(e, c);
        if (place && !hasNoGlyph(c) && e.glyph[c] != 0) {
            glyphs_.append(e.glyph[c]);
            positions_.append(QPointF(pen, 0));
        }
        pen += e.advance[c];
    }
    return static_cast<int>(std::floor(pen + 0.5));
}

void QtSurface::beginDrawing() {
    if (drawingDepth_++ > 0) return;
    // A widget that is not on show waits for its picture until it is shown;
    // its canvas grows with it all the same, so that what it draws beyond
    // the screen is kept.
    if (widget_.isVisible())
        coverWidget();
    else if (!canvas_.isEmpty())
        canvas_ = canvas_.expandedTo(widget_.size());
    // Growing the picture inside the bracket has already started the
    // painter on the new picture.
    if (image_.isNull() || painter_.isActive()) return;
    painter_.begin(&image_);
    painterHasPen_ = false;
}

void QtSurface::endDrawing() {
    if (drawingDepth_ == 0) return;
    if (--drawingDepth_ > 0) return;
    if (painter_.isActive()) {
        fills_.flush(*this);
        painter_.end();
    }
    widget_.update();
}

void QtSurface::fillRect(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    PaintScope scope(*this);
    const QRgb colour = resolve(fillColour).rgb();
    keepOutside(
        QRect(left, top, right - left, bottom - top),
        [=](QPainter& p) {
            p.fillRect(QRect(left, top, right - left, bottom - top), QColor::fromRgb(colour));
        },
        true);
    if (!painter_.isActive()) return;
    if (trackFills_)
        fills_.fill(left, top, right, bottom, colour, *this);
    else
        paint(left, top, right, bottom, colour);
}

int QtSurface::textWidth(std::string_view text) {
    updateFont();
    if (needsQtLayout(text)) return current_->metrics.horizontalAdvance(latin1(text));
    return layout(text, false);
}

int QtSurface::textHeight(std::string_view) {
    updateFont();
    return current_->cellHeight;
}

void QtSurface::drawText(int x, int y, std::string_view text) {
    if (text.empty()) return;
    updateFont();
    const FontEntry& e = *current_;
    glyphs_.clear();
    positions_.clear();
    const bool qtLayout = needsQtLayout(text);
    const int w = qtLayout ? e.metrics.horizontalAdvance(latin1(text)) : layout(text, true);

    PaintScope scope(*this);
    // Opaque text: the character cells first, in the fill colour; the glyphs
    // may reach a little past their cells.
    const QRgb cells = resolve(fillColour).rgb();
    const int across = e.cellHeight / 2 + 2, down = e.cellHeight / 4 + 2;
    const QRect reach(x - across, y - down, w + 2 * across, e.cellHeight + 2 * down);
    const bool inked = qtLayout || !glyphs_.isEmpty() || font.style.underline;
    const QColor ink = resolve(font.colour);
    if (reachesOutside(reach)) {
        // Everything needed to draw the piece again, by value.
        const QRect cellRect(x, y, w, e.cellHeight);
        if (qtLayout) {
            keepOutside(reach, [=, font = e.font, str = latin1(text), ascent = e.ascent](QPainter& p) {
                p.fillRect(cellRect, QColor::fromRgb(cells));
                p.setPen(ink);
                p.setFont(font);
                p.drawText(QPoint(x, y + ascent), str);
            });
        } else {
            QGlyphRun again;
            again.setRawFont(e.raw);
            again.setGlyphIndexes(glyphs_);
            again.setPositions(positions_);
            again.setUnderline(font.style.underline);
            if (font.style.underline) again.setBoundingRect(QRectF(0, -e.ascent, w, e.cellHeight));
            keepOutside(reach, [=, ascent = e.ascent](QPainter& p) {
                p.fillRect(cellRect, QColor::fromRgb(cells));
                if (!inked) return;
                p.setPen(ink);
                p.drawGlyphRun(QPointF(x, y + ascent), again);
            });
        }
    }
    if (!painter_.isActive()) return;
    if (trackFills_) {
        fills_.fill(x, y, x + w, y + e.cellHeight, cells, *this);
        fills_.touch(reach.left(), reach.top(), reach.right() + 1, reach.bottom() + 1, *this);
    } else {
        paint(x, y, x + w, y + e.cellHeight, cells);
    }
    if (!inked) return;

    if (!painterHasPen_ || painterPen_ != ink.rgb()) {
        painter_.setPen(ink);
        painterPen_ = ink.rgb();
        painterHasPen_ = true;
    }
    if (qtLayout) {
        painter_.setFont(e.font);
        painter_.drawText(QPoint(x, y + e.ascent), latin1(text));
        return;
    }
    run_.setRawFont(e.raw);
    run_.setGlyphIndexes(glyphs_);
    run_.setPositions(positions_);
    run_.setUnderline(font.style.underline);
    if (font.style.underline) run_.setBoundingRect(QRectF(0, -e.ascent, w, e.cellHeight));
    painter_.drawGlyphRun(QPointF(x, y + e.ascent), run_);
    // Let go of the lists, so the next piece refills them in place.
    run_.clear();
}

void QtSurface::drawLine(int x1, int y1, int x2, int y2) {
    PaintScope scope(*this);
    const int reach = penWidth / 2 + 2;
    const QRect bounds(QPoint(std::min(x1, x2) - reach, std::min(y1, y2) - reach),
                       QPoint(std::max(x1, x2) + reach, std::max(y1, y2) + reach));
    const QPen pen(resolve(penColour), penWidth, Qt::SolidLine, Qt::FlatCap);
    keepOutside(bounds, [pen, x1, y1, x2, y2](QPainter& p) {
        p.setPen(pen);
        p.drawLine(x1, y1, x2, y2);
    });
    if (!painter_.isActive()) return;
    if (trackFills_)
        fills_.touch(bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1, *this);
    painter_.setPen(pen);
    painterHasPen_ = false;
    painter_.drawLine(x1, y1, x2, y2);
}

void QtSurface::stretchDraw(const QRect& target, const QImage& picture) {
    if (picture.isNull() || target.isEmpty()) return;
    PaintScope scope(*this);
    keepOutside(target, [=](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRectF(target), picture, QRectF(picture.rect()));
    });
    if (!painter_.isActive()) return;
    if (trackFills_)
        fills_.touch(target.left(), target.top(), target.right() + 1, target.bottom() + 1, *this);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_.drawImage(QRectF(target), picture, QRectF(picture.rect()));
}

}  // namespace varnet::ui
