// Start-up harness: the reader's own window, built and shown as the program
// does, quitting as soon as the window paints after its first activation drew
// the start-up panel. Used only by the start-up benchmark.

#include "TForm1.h"

#include <QApplication>
#include <QTimer>

namespace {

class QuitOnPaintAfterPanel : public QObject {
public:
    explicit QuitOnPaintAfterPanel(varnet::ui::TForm1& w) : w_(w) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_ && w_.state().CurrentText &&
            !w_.state().CurrentText->empty() && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &w_) {
            done_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    varnet::ui::TForm1& w_;
    bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("Mirrowen");
    varnet::ui::TForm1 window;
    QuitOnPaintAfterPanel probe(window);
    app.installEventFilter(&probe);
    window.show();
    return app.exec();
}
