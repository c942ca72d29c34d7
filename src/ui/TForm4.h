// The bookmark-name dialog: one line for the name and an OK button. It is
// created once, hidden, and shown modally each time a bookmark is added; the
// edit box keeps its text from one use to the next.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    // Shows the dialog modally and returns the edit text as it stands when the
    // dialog closes, however it was closed.
    QString askName();

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;

public slots:
    void Button1Click();
};
