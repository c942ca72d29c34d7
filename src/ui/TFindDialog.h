// The modeless Find dialog: the find text (at most 255 characters), the
// direction (Down at first), Match case, Find Next and Cancel. Each Find Next
// raises `find`; the search reads the options afresh at every press.
#pragma once

#include "TextSearch.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace varnet::ui {

class TFindDialog : public QDialog, public FindDialog {
    Q_OBJECT
public:
    static constexpr int kMaxFindText = 255;

    explicit TFindDialog(QWidget* parent = nullptr);

    // FindDialog: what a search reads and does.
    std::string findText() const override;
    bool searchDown() const override;
    bool matchCase() const override;
    void close() override;

    // Moves the dialog to a screen point and shows it, or brings it to the
    // front when it is already open.
    void showAt(const QPoint& topLeft);

    // Moves the open dialog above or below an area of the screen that it
    // covers (the line a search found), so the reader sees it.
    void keepClearOf(const QRect& area);
    // Where a window with the frame given goes to clear the area: straight
    // above or below it, on the side where it fits on the screen and moves
    // least; with room on neither side, on the side with more room as far as
    // the screen allows.
    static QPoint placeClearOf(const QRect& frame, const QRect& area, const QRect& screen);

    // For one press only, searches the other way than the dialog says (the
    // find-next shortcuts).
    void setDirectionOverride(int direction) { override_ = direction; }

    QLineEdit* FindTextEdit;
    QRadioButton* UpButton;
    QRadioButton* DownButton;
    QCheckBox* MatchCaseBox;
    QPushButton* FindNextButton;
    QPushButton* CancelButton;

signals:
    void find();

private:
    int override_ = 0;
};

}  // namespace varnet::ui
