// Checks screenshots of the running reader.
//
//   varnet_screenshot_check SHOT.png X Y W H RRGGBB[,RRGGBB...] [MIN_TEXT_PIXELS]
//     Within the rectangle (the reading surface) counts pixels of the given
//     band backgrounds and text pixels (far from every band, so dark text on
//     a light band and light text on a dark band both count), and fails
//     unless the bands cover most of it and there is text on them.
//
//   varnet_screenshot_check --same A.png B.png X Y W H
//     Fails unless the rectangle holds the same pixels in both screenshots
//     (the same panel drawn the same way).

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

QImage load(const char* path) {
    QImage image(QString::fromLocal8Bit(path));
    if (image.isNull()) std::fprintf(stderr, "cannot read %s\n", path);
    return image.convertToFormat(QImage::Format_RGB32);
}

int colourDistance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

int same(char** argv) {
    const QImage a = load(argv[2]), b = load(argv[3]);
    if (a.isNull() || b.isNull()) return 2;
    const QRect area(std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]));
    if (!a.rect().contains(area) || !b.rect().contains(area)) {
        std::fprintf(stderr, "the rectangle is not inside both screenshots\n");
        return 2;
    }
    long differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++differing;
    std::printf("%ld of %lld pixels differ\n", differing,
                static_cast<long long>(area.width()) * area.height());
    return differing == 0 ? 0 : 1;
}

int bandWithText(int argc, char** argv) {
    const QImage image = load(argv[1]);
    if (image.isNull()) return 2;
    const int x0 = std::atoi(argv[2]), y0 = std::atoi(argv[3]);
    const int w = std::atoi(argv[4]), h = std::atoi(argv[5]);
    std::vector<QColor> bands;
    for (const QString& hex : QString::fromLatin1(argv[6]).split(QLatin1Char(',')))
        bands.emplace_back(QStringLiteral("#") + hex);
    const long minText = argc > 7 ? std::atol(argv[7]) : 200;

    long bandPixels = 0, textPixels = 0, total = 0;
    for (int y = y0; y < y0 + h && y < image.height(); ++y) {
        for (int x = x0; x < x0 + w && x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            int d = 3 * 255;
            for (const QColor& band : bands) d = std::min(d, colourDistance(c, band));
            ++total;
            if (d <= 6)
                ++bandPixels;
            else if (d >= 200)
                ++textPixels;
        }
    }
    std::printf("band pixels %ld, text pixels %ld of %ld\n", bandPixels, textPixels, total);
    return total > 0 && bandPixels * 2 > total && textPixels >= minText ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 8 && std::strcmp(argv[1], "--same") == 0) return same(argv);
    if (argc < 7) {
        std::fprintf(stderr,
                     "usage: %s SHOT.png X Y W H RRGGBB[,RRGGBB...] [MIN_TEXT_PIXELS]\n"
                     "       %s --same A.png B.png X Y W H\n",
                     argv[0], argv[0]);
        return 2;
    }
    return bandWithText(argc, argv);
}
