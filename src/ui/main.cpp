// The program's entry: the application object, the main window (whose
// creation runs FormCreate), then the event loop until the window closes.
#include "TForm1.h"
#include "TForm4.h"
#include "UiTexts.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The title the desktop lists the program under and message boxes show;
    // not the display name, which Qt would append to every window caption.
    QCoreApplication::setApplicationName(QString::fromUtf8(varnet::ui::kApplicationTitle));

    varnet::ui::TForm1 form1;
    TForm4 form4(&form1);
    form1.setBookmarkDialog(&form4);
    form1.show();
    return app.exec();
}
