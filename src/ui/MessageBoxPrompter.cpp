#include "MessageBoxPrompter.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace varnet::ui {

namespace {

// Texts break their lines with a lone carriage return, which a label would
// not show as a break.
QString shown(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QString caption() {
    return QCoreApplication::applicationName();
}

}  // namespace

void MessageBoxPrompter::information(const QString& text) {
    QMessageBox::information(parent_, caption(), shown(text), QMessageBox::Ok);
}

void MessageBoxPrompter::critical(const QString& text) {
    QMessageBox::critical(parent_, caption(), shown(text) + QLatin1Char('.'), QMessageBox::Ok);
}

bool MessageBoxPrompter::question(const QString& text) {
    return QMessageBox::question(parent_, caption(), shown(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

}  // namespace varnet::ui
