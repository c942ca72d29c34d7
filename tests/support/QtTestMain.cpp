// The main of the window tests: a QApplication on the offscreen platform
// (also when the test list is read at build time) with a data folder of its
// own, then every test.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QtMessageHandler passOn = nullptr;

// A painter misused (begun twice on one picture, drawing on a device with
// no painter) only warns, and the picture may silently miss what was drawn:
// in these tests it fails the test that did it.
void failOnPainterWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QPainter")))
        ADD_FAILURE() << "Qt warned: " << message.toStdString();
    if (passOn) passOn(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window writes its side files to the per-user data folder: point it
    // at a fresh folder so tests never touch the real one.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    passOn = qInstallMessageHandler(failOnPainterWarnings);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Mirrowen"));
    return RUN_ALL_TESTS();
}
