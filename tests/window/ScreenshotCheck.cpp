// Checks a screenshot of the running reader: within the given rectangle
// (the reading surface) it counts pixels of band 0's background and dark
// text pixels, and fails unless both are plentiful.
//
// Usage: varnet_screenshot_check SHOT.png X Y W H RRGGBB [MIN_TEXT_PIXELS]

#include <QColor>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr, "usage: %s SHOT.png X Y W H RRGGBB [MIN_TEXT_PIXELS]\n", argv[0]);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const int x0 = std::atoi(argv[2]), y0 = std::atoi(argv[3]);
    const int w = std::atoi(argv[4]), h = std::atoi(argv[5]);
    const QColor band(QString("#") + argv[6]);
    const long minText = argc > 7 ? std::atol(argv[7]) : 200;

    long bandPixels = 0, textPixels = 0, total = 0;
    for (int y = y0; y < y0 + h && y < image.height(); ++y) {
        for (int x = x0; x < x0 + w && x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ++total;
            if (std::abs(c.red() - band.red()) <= 2 && std::abs(c.green() - band.green()) <= 2 &&
                std::abs(c.blue() - band.blue()) <= 2)
                ++bandPixels;
            else if (c.red() + c.green() + c.blue() < 180)
                ++textPixels;
        }
    }
    std::printf("band pixels %ld, text pixels %ld of %ld\n", bandPixels, textPixels, total);
    const bool ok = total > 0 && bandPixels * 2 > total && textPixels >= minText;
    return ok ? 0 : 1;
}
