#include "TForm4.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// The design gives the dialog's outer bounds (498 by 60 on the screen); the
// client area is what remains inside the frame.
constexpr int kLeft = 320;
constexpr int kTop = 362;
constexpr int kClientWidth = 482;
constexpr int kClientHeight = 33;
}  // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName("Form4");
    setWindowTitle("BookMark Name");
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    setFont(font);
    setGeometry(kLeft, kTop, kClientWidth, kClientHeight);

    Label1 = new QLabel("BookMark Name: ", this);
    Label1->setObjectName("Label1");
    Label1->move(8, 8);
    Label1->adjustSize();

    Edit1 = new QLineEdit(" ", this);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(104, 0, 281, 21);
    Edit1->setAccessibleName("BookMark Name");

    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(400, 0, 75, 25);
    // Not the default button: Enter in the edit box does not close the dialog.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);

    setTabOrder(Edit1, Button1);
}

void TForm4::Button1Click() {
    close();
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    // Escape is the one way to leave without adding: OK and the close box
    // both add the name.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancelled_ = true;
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::optional<QString> TForm4::askName() {
    cancelled_ = false;
    Edit1->setFocus();
    exec();
    if (cancelled_) return std::nullopt;
    return Edit1->text();
}
