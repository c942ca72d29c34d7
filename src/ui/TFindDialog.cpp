#include "TFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

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

    connect(FindNextButton, &QPushButton::clicked, this, [this] {
        emit find();
    });
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

bool TFindDialog::matchCase() const { return MatchCaseBox->isChecked(); }

void TFindDialog::close() { hide(); }

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

}  // namespace varnet::ui
