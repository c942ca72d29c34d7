// The yardstick for start-up: the least a Qt Widgets program that shows
// text pays, fonts included: one line of serif text in a QLabel, in a window
// of the size the reader's window first has (700 x 980 with the frame).
//
// Usage: varnet_yardstick_window [--probe]
//   Without --probe it runs like any program until it is closed (the X-level
//   timer measures it from outside); with --probe it reports its first frame
//   and ends there (see FirstFrameProbe.h).

#include "FirstFrameProbe.h"

#include <QFont>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

namespace {

int showAndRun(QApplication& app, varnet::bench::FirstFrameProbe* probe) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("Yardstick"));
    auto* label =
        new QLabel(QStringLiteral("Of all the creatures in the old stories, none turns up more often "
                                  "than the Fox."),
                   &window);
    QFont serif(QStringLiteral("Times New Roman"), 15);
    serif.setStyleHint(QFont::Serif);
    label->setFont(serif);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(label);
    window.resize(700, 955);
    if (probe) probe->reportFirstFrameOf(window);
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    // Only the probe pays for the probe's application object.
    if (argc > 1 && std::strcmp(argv[1], "--probe") == 0) {
        varnet::bench::FirstFrameProbe app(argc, argv);
        return showAndRun(app, &app);
    }
    QApplication app(argc, argv);
    return showAndRun(app, nullptr);
}
