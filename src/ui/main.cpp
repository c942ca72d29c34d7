// The program's entry: the application object, the main window (whose
// creation runs FormCreate), then the event loop until the window closes.
// "--help" and "--version" as the first argument only print and end, before
// anything connects to the display or touches a side file.
#include "DeferredIconStyle.h"
#include "TForm1.h"
#include "UiTexts.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(varnet::ui::kUsage, stdout);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("varnet %s\n", VARNET_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    // The title the desktop lists the program under and message boxes show;
    // not the display name, which Qt would append to every window caption.
    QCoreApplication::setApplicationName(QString::fromUtf8(varnet::ui::kApplicationTitle));
    varnet::ui::DeferredIconStyle::install();

    // The bookmark-name dialog is made the first time a bookmark is added.
    varnet::ui::TForm1 form1;
    form1.show();
    return app.exec();
}
