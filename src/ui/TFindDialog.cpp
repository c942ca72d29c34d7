#include "TFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace varnet::ui {

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("FindDialog1");
    setWindowTitle("Find");
    setModal(false);

    auto* label = new QLabel("Fi&nd what:", this);
    FindTextEdit = new QLineEdit(this);
    FindTextEdit->setObjectName("FindText");
    FindTextEdit->setMaxLength(kMaxFindText);
    FindTextEdit->setAccessibleName("Find what");
    label->setBuddy(FindTextEdit);

    auto* direction = new QGroupBox("Direction", this);
    UpButton = new QRadioButton("&Up", direction);
    DownButton = new QRadioButton("&Down", direction);
    DownButton->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(UpButton);
    directionLayout->addWidget(DownButton);

    MatchCaseBox = new QCheckBox("Match &case", this);
    FindNextButton = new QPushButton("&Find Next", this);
    FindNextButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(FindTextEdit, 0, 1);
    grid->addWidget(FindNextButton, 0, 2);
    grid->addWidget(MatchCaseBox, 1, 0);
    grid->addWidget(direction, 1, 1);
    grid->addWidget(CancelButton, 1, 2);

    connect(FindNextButton, &QPushButton::clicked, this, [this] { emit find(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::hide);
}

std::string TFindDialog::findText() const {
    // The reader's texts are 8-bit: what cannot be written in Latin-1 is
    // never found.
    return FindTextEdit->text().left(kMaxFindText).toLatin1().toStdString();
}

bool TFindDialog::searchDown() const {
    if (override_ != 0) return override_ > 0;
    return DownButton->isChecked();
}

bool TFindDialog::matchCase() const {
    return MatchCaseBox->isChecked();
}

void TFindDialog::close() {
    hide();
}

void TFindDialog::showAt(const QPoint& topLeft) {
    move(topLeft);
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    show();
    raise();
    activateWindow();
    FindTextEdit->setFocus();
}

void TFindDialog::keepClearOf(const QRect& area) {
    if (!isVisible() || area.isEmpty()) return;
    const QRect frame = frameGeometry();
    if (!frame.intersects(area)) return;
    const QScreen* on = screen();
    const QRect available = on ? on->availableGeometry() : frame.united(area);
    move(placeClearOf(frame, area, available));
}

QPoint TFindDialog::placeClearOf(const QRect& frame, const QRect& area, const QRect& screen) {
    const int above = area.top() - frame.height();
    const int below = area.bottom() + 1;
    const bool fitsAbove = above >= screen.top();
    const bool fitsBelow = below + frame.height() - 1 <= screen.bottom();
    int top;
    if (fitsAbove && fitsBelow)
        top = std::abs(frame.top() - above) <= std::abs(below - frame.top()) ? above : below;
    else if (fitsAbove || fitsBelow)
        top = fitsAbove ? above : below;
    else  // kept whole on the screen, even if it then covers part of the area
        top = std::clamp(area.top() - screen.top() >= screen.bottom() - area.bottom() ? above : below,
                         screen.top(), std::max(screen.top(), screen.bottom() + 1 - frame.height()));
    return {frame.left(), top};
}

}  // namespace varnet::ui
