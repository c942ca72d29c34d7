// Renders the logo (SVG) to a square PNG: for the desktop's icon theme on a
// transparent ground, or with "white" for the program's About page, which
// shows it on white.
// RenderIcon <logo.svg> <out.png> <pixels> [white].
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4 && !(argc == 5 && QByteArray(argv[4]) == "white")) {
        std::fprintf(stderr, "usage: RenderIcon logo.svg out.png pixels [white]\n");
        return 2;
    }
    // Runs at build time, with no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int pixels = QByteArray(argv[3]).toInt();
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid() || pixels <= 0) {
        std::fprintf(stderr, "RenderIcon: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage icon(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    icon.fill(argc == 5 ? Qt::white : Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing, true);
    svg.render(&painter, QRectF(0, 0, pixels, pixels));
    painter.end();
    // A ".zraw" file is the picture's pixels as they lie in memory, zlib
    // packed after the width and height: the program unpacks it without an
    // image decoder.
    if (QByteArray(argv[2]).endsWith(".zraw")) {
        QByteArray raw;
        QDataStream out(&raw, QIODevice::WriteOnly);
        out << qint32(icon.width()) << qint32(icon.height());
        out.writeRawData(reinterpret_cast<const char*>(icon.constBits()),
                         static_cast<int>(icon.sizeInBytes()));
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (file.open(QIODevice::WriteOnly) && file.write(qCompress(raw, 9)) > 0) return 0;
        std::fprintf(stderr, "RenderIcon: cannot write %s\n", argv[2]);
        return 1;
    }
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "RenderIcon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
