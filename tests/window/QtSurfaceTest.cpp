#include "BuiltinTexts.h"
#include "QtSurface.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QWidget>
#include <QtMath>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using varnet::Colour;
using varnet::ui::QtSurface;

namespace {

struct Surface {
    QWidget widget;
    QtSurface s{widget};
    explicit Surface(QSize size = QSize(300, 120), qreal dpr = 1.0) {
        widget.resize(size);
        s.create(size, dpr);
        s.font.size = 15;
    }
    QColor at(int x, int y) { return s.image().pixelColor(x, y); }
};

TEST(QtSurface, PointSizesAreMappedAsAt96DotsPerInch) {
    const struct { int points, pixels; } cases[] = {{4, 5}, {8, 11}, {15, 20}, {40, 53}};
    Surface f;
    for (const auto& c : cases) {
        f.s.font.size = c.points;
        EXPECT_EQ(f.s.currentFont().pixelSize(), c.pixels) << c.points << " points";
        EXPECT_EQ(QFontInfo(f.s.currentFont()).pixelSize(), c.pixels) << c.points << " points";
    }
    // A surface no tag has set a face on draws in the serif face.
    f.s.font.face.clear();
    EXPECT_EQ(f.s.currentFont().family(), QStringLiteral("Times New Roman"));
}

// The surface measures glyph by glyph from its own tables; every width must
// still be the one Qt gives the same font for the whole string.
TEST(QtSurface, WidthsAreQtsAdvanceOfTheWholeString) {
    std::vector<std::string> texts;
    for (const auto& line : varnet::startupInstructions().strings()) texts.push_back(line);
    std::string latin1, printable;
    for (int c = 0x20; c < 0x100; ++c) {
        latin1 += static_cast<char>(c);
        if (c < 0x7F || c >= 0xA0) printable += static_cast<char>(c);
    }
    texts.push_back(printable);
    texts.push_back(latin1);  // with the control codes between
    texts.push_back("\x01tab\tand\x7f\xad soft");
    texts.push_back("caf\xE9 na\xEFve");

    Surface f;
    for (const char* face : {"Times New Roman", "Courier New"}) {
        for (int size : {8, 15, 40}) {
            for (const varnet::FontStyle style : {varnet::FontStyle{}, varnet::FontStyle{true, false, false},
                                                  varnet::FontStyle{false, true, true}}) {
                f.s.font.face = face;
                f.s.font.size = size;
                f.s.font.style = style;
                const QFontMetrics qt(f.s.currentFont());
                for (const auto& text : texts) {
                    EXPECT_EQ(f.s.textWidth(text),
                              qt.horizontalAdvance(QString::fromLatin1(text.data(), qsizetype(text.size()))))
                        << face << " " << size << " bold " << style.bold << ": " << text;
                }
                EXPECT_EQ(f.s.textHeight("X"), qt.height());
            }
        }
    }
}

TEST(QtSurface, TextIsOpaqueOverItsCellsOnly) {
    Surface f;
    f.s.fillColour = 0x00FFFFFF;
    f.s.fillRect(0, 0, 300, 120);
    f.s.fillColour = 0x000000FF;  // red cells
    f.s.font.colour = 0x00000000;
    f.s.beginDrawing();
    f.s.drawText(10, 20, "XXXX");
    f.s.endDrawing();
    const int w = f.s.textWidth("XXXX");
    const int h = f.s.textHeight("X");
    int red = 0, dark = 0;
    for (int y = 20; y < 20 + h; ++y) {
        for (int x = 10; x < 10 + w; ++x) {
            const QColor c = f.at(x, y);
            if (c == QColor(255, 0, 0)) ++red;
            if (c.red() < 80 && c.green() < 80) ++dark;
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(dark, w);  // the glyphs themselves
    // Nothing outside the cells changes.
    EXPECT_EQ(f.at(9, 20 + h / 2), QColor(Qt::white));
    EXPECT_EQ(f.at(10 + w, 20 + h / 2), QColor(Qt::white));
    EXPECT_EQ(f.at(12, 19), QColor(Qt::white));
    EXPECT_EQ(f.at(12, 20 + h), QColor(Qt::white));

    // Blanks show nothing but their cells, unless they are underlined.
    const auto darkIn = [&](int y0) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = 10; x < 10 + f.s.textWidth("     "); ++x) n += f.at(x, y).lightness() < 128;
        return n;
    };
    f.s.drawText(10, 60, "     ");
    EXPECT_EQ(darkIn(60), 0);
    f.s.font.style.underline = true;
    f.s.drawText(10, 90, "     ");
    EXPECT_GE(darkIn(90), f.s.textWidth("     "));
}

TEST(QtSurface, ColoursAndSizes) {
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(QtSurface::resolve(0x80000005), palette.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(QtSurface::resolve(0x80000008), palette.color(QPalette::Active, QPalette::Text));
    EXPECT_EQ(QtSurface::resolve(0x80000011), palette.color(QPalette::Disabled, QPalette::Text));
    EXPECT_EQ(QtSurface::resolve(0x009FBCE3), QColor(227, 188, 159));

    // Sizes are the widget's, not the picture's; figures are logical pixels.
    Surface f(QSize(100, 50), 2.0);
    EXPECT_EQ(f.s.image().size(), QSize(200, 100));
    f.widget.resize(64, 32);
    EXPECT_EQ(f.s.width(), 64);
    EXPECT_EQ(f.s.height(), 32);
    f.s.coverWidget();
    EXPECT_EQ(f.s.image().size(), QSize(200, 100));  // never shrunk
    f.s.fillColour = 0x00000000;
    f.s.fillRect(0, 0, 10, 10);
    EXPECT_EQ(f.at(19, 19), QColor(Qt::black));
    EXPECT_EQ(f.at(20, 20), QColor(Qt::white));
}

// Drawing on a picture that starts small and grows with its widget gives,
// wherever the picture reaches, exactly the pixels of a picture made at the
// canvas's size from the start: what was drawn outside it appears when it
// grows over it.
TEST(QtSurface, AGrowingPictureHoldsWhatACanvasSizePictureWouldHold) {
    const QSize canvas(320, 240);
    const auto draw = [](QtSurface& s, int step) {
        s.beginDrawing();
        s.fillColour = step == 0 ? 0x00C0C0C0 : 0x00462F39;
        s.fillRect(0, 0, 320, 240);  // the whole canvas
        s.fillColour = 0x009FBCE3;
        s.fillRect(40 * step, 30, 300, 200);
        s.font.colour = 0x00000000;
        s.font.size = 15;
        s.drawText(10, 20 + 50 * step, "A line wider than the first picture, and more");
        s.font.style.bold = step % 2 == 1;
        s.font.size = 30;
        s.drawText(150 + 10 * step, 150, "Wide");
        s.font.face = "Courier New";
        s.drawText(5, 200, std::string("tab\there"));
        s.penColour = 0x000000FF;
        s.penWidth = 3;
        s.drawLine(157, 0, 157, 239);  // as the two columns' separator
        s.endDrawing();
        QImage picture(30, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        s.stretchDraw(QRect(250 - 20 * step, 10, 60, 40), picture);
    };
    for (const qreal dpr : {1.0, 2.0, 1.25}) {
        SCOPED_TRACE(dpr);
        Surface whole(canvas, dpr);
        Surface growing(QSize(100, 60), dpr);
        growing.s.create(canvas, dpr);
        const QList<QSize> sizes = {QSize(100, 60), QSize(260, 90), QSize(200, 240), QSize(320, 240)};
        QSize largest = sizes[0];
        for (int step = 0; step < sizes.size(); ++step) {
            // Drawn at one size, then shown at the next: the picture grows
            // without anything being drawn again.
            draw(whole.s, step);
            draw(growing.s, step);
            const QSize next = sizes[std::min<qsizetype>(step + 1, sizes.size() - 1)];
            growing.widget.resize(next);
            growing.s.coverWidget();
            largest = largest.expandedTo(next);
            const QImage& grown = growing.s.image();
            // At a fractional ratio the picture is made at the canvas's size.
            const QSize logicalSize = dpr == 1.25 ? canvas : largest;
            EXPECT_EQ(grown.size(),
                      QSize(qCeil(logicalSize.width() * dpr), qCeil(logicalSize.height() * dpr)));
            const QImage expected = whole.s.image().copy(QRect(QPoint(0, 0), grown.size()));
            int differing = 0, firstX = -1, firstY = -1;
            for (int y = 0; y < grown.height(); ++y)
                for (int x = 0; x < grown.width(); ++x)
                    if (grown.pixel(x, y) != expected.pixel(x, y) && differing++ == 0) {
                        firstX = x;
                        firstY = y;
                    }
            EXPECT_EQ(differing, 0) << "step " << step << ", first at " << firstX << "," << firstY;
        }
    }
}

// A visible surface smaller than its canvas whose pieces reach a little past
// the widget panel after panel keeps a bounded number of them, and still
// holds what a canvas-size picture would.
TEST(QtSurface, PiecesKeptPastTheWidgetStayBounded) {
    Surface whole(QSize(600, 400));
    Surface f(QSize(300, 200));
    f.s.create(QSize(600, 400), 1.0);
    f.widget.show();
    std::size_t most = 0;
    for (int panel = 0; panel < 1000; ++panel) {
        for (QtSurface* s : {&whole.s, &f.s}) {
            s->beginDrawing();
            s->fillColour = panel % 2 ? 0x00C0C0C0 : 0x009FBCE3;
            s->fillRect(0, 0, 300, 200);
            s->penColour = 0x00000080;
            s->penWidth = 2;
            s->drawLine(147, 0, 147, 200);  // as the separator of two columns
            s->endDrawing();
        }
        most = std::max(most, f.s.keptCount());
    }
    EXPECT_LE(most, 400u);
    const QImage& grown = f.s.image();
    EXPECT_EQ(grown, whole.s.image().copy(grown.rect()));
}

TEST(QtSurface, AWidgetLargerThanTheCanvasIsDrawnWhole) {
    Surface f(QSize(100, 80));
    f.s.create(QSize(100, 80), 1.0);
    f.widget.resize(150, 300);
    f.s.fillColour = 0x00000000;
    f.s.fillRect(0, 0, 150, 300);
    // Wholly beyond the first canvas, drawn before the widget is ever shown.
    f.s.fillColour = 0x000000FF;
    f.s.fillRect(110, 200, 150, 300);
    EXPECT_EQ(f.s.image().size(), QSize(150, 300));
    EXPECT_EQ(f.at(149, 199), QColor(Qt::black));
    EXPECT_EQ(f.at(140, 250), QColor(Qt::red));
}

}  // namespace
