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
    // The picture covers the widget, which here is larger than the screen.
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    ASSERT_GT(w.Image1->height(), screen.height());
    EXPECT_EQ(picture.size(), w.Image1->size() * 2);
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

    // A chapter fills the surface: the lines it counts below the screen's
    // height are drawn too, so none is skipped by paging.
    w.setOuterBounds(QRect(0, 0, 600, 3 * screen.height()));
    QCoreApplication::processEvents();
    f.clickRow(3);
    const auto& st = w.state();
    const auto lastLineTop = [&] { return 5 + (st.NextLine - st.TopLine - 1) * st.LineHeight; };
    for (int k = 0; k < 40 && lastLineTop() <= screen.height(); ++k) w.NextButtonClick();
    ASSERT_GT(lastLineTop(), screen.height());
    const QImage panel = w.Image1->surface().image();
    const int top = lastLineTop();
    ASSERT_LE((top + st.LineHeight) * 2, panel.height());
    const QColor band = panel.pixelColor(panel.width() - 2, (top + st.LineHeight / 2) * 2);
    int ink = 0;
    for (int y = top * 2; y < (top + st.LineHeight) * 2; ++y)
        for (int x = 0; x < panel.width(); ++x)
            if (panel.pixelColor(x, y) != band) ++ink;
    EXPECT_GT(ink, 20) << "the last line counted is not on the picture";
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
