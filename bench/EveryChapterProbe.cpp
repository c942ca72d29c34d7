// Memory harness: the reader's own window, started as the program starts it,
// opens every chapter of the demo book from the contents tree in turn and
// pages three panels into each, then closes as the reader would. Run under
// the process timer, whose peak resident set is the figure.

#include "TForm1.h"
#include "TreeFill.h"

#include <QApplication>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("Mirrowen");
    varnet::ui::TForm1 window;
    window.show();
    int failures = 0;
    QTimer::singleShot(0, &window, [&] {
        // Rows 3 to 26 of the tree are the 24 chapters under "Listed by Title".
        for (int row = 3; row <= 26; ++row) {
            QTreeWidgetItem* item = varnet::ui::itemAtAbsoluteIndex(window.tocTree(), row);
            if (!item) {
                ++failures;
                continue;
            }
            window.tocTree()->setCurrentItem(item);
            window.state().TreeToggled = false;
            window.TOCTreeViewClick();
            const auto anchor = window.state().TopLine;
            for (int k = 0; k < 3; ++k) window.NextButtonClick();
            if (window.state().TopLine <= anchor) ++failures;
            QCoreApplication::processEvents();
        }
        window.close();
        QCoreApplication::quit();
    });
    app.exec();
    if (failures) std::fprintf(stderr, "every-chapter probe: %d chapters did not open and page\n", failures);
    return failures ? 1 : 0;
}
