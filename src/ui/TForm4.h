// The bookmark-name dialog: one line for the name and an OK button. It is
// created once, hidden, and shown modally each time a bookmark is added; the
// edit box keeps its text from one use to the next.
#pragma once

#include <QDialog>

#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    // Shows the dialog modally and returns the edit text as it stands when the
    // dialog closes by OK or by its close box; nothing when Escape cancels it.
    std::optional<QString> askName();

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;

public slots:
    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool cancelled_ = false;
};
