// The reading surface at a device pixel ratio of 2 (the desktop scaled to
// 200 %): its picture has twice as many pixels each way while every layout
// figure stays logical, so the start-up panel ends on the same line.
#include "DesktopTestSupport.h"
#include "TForm1.h"

#include <QApplication>
#include <QScreen>

#include <gtest/gtest.h>

TEST(HighDpi, TheSurfacePaintsAtTwiceTheLogicalSizeAndLaysOutTheSame) {
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    testsupport::Window f;
    varnet::ui::TForm1& w = *f.w;
    const QImage& picture = w.Image1->surface().image();
    const QSize logical = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(picture.size(), logical * 2);
    EXPECT_EQ(picture.devicePixelRatio(), 2.0);
    // What the renderer measures is logical: the widget's own size.
    EXPECT_EQ(w.Image1->surface().width(), w.Image1->width());
    EXPECT_EQ(w.Image1->surface().height(), w.Image1->height());
    EXPECT_EQ(w.state().TopLine, 0);
    EXPECT_EQ(w.state().NextLine, 17);

    // What the widget shows is the picture pixel for pixel: grabbing the
    // widget gives the same pixels as the picture's top-left part.
    const QImage shown = w.Image1->grab(QRect(0, 0, 40, 40)).toImage();
    EXPECT_EQ(shown.size(), QSize(80, 80));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              picture.copy(0, 0, 80, 80).convertToFormat(QImage::Format_RGB32));
}

int main(int argc, char** argv) {
    // The scale factor is read when the application object is made.
    qputenv("QT_SCALE_FACTOR", "2");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Mirrowen"));
    return RUN_ALL_TESTS();
}
