// Start-up harness: the reader's window built and shown as the program
// builds and shows it (arguments included, so "fable.qtx" opens the demo
// book), ending the process as soon as its first frame has reached the
// display server (see FirstFrameProbe.h). The in-process cross-check of the
// X-level start-up timing.

#include "FirstFrameProbe.h"
#include "TForm1.h"
#include "TForm4.h"
#include "UiTexts.h"

int main(int argc, char** argv) {
    varnet::bench::FirstFrameProbe app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromUtf8(varnet::ui::kApplicationTitle));
    varnet::ui::TForm1 form1;
    TForm4 form4(&form1);
    form1.setBookmarkDialog(&form4);
    app.reportFirstFrameOf(form1);
    form1.show();
    return app.exec();
}
