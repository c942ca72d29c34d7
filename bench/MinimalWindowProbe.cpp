// The yardstick for start-up: a plain Qt window of the reader's size that
// quits on its first paint.

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {
class PaintQuits : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        if (!done_) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        done_ = true;
    }
    bool done_ = false;
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PaintQuits window;
    window.resize(729, 509);
    window.show();
    return app.exec();
}
