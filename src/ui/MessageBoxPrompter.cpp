#include "MessageBoxPrompter.h"

#include "TForm4.h"

#include <QCoreApplication>
#include <QFileDialog>
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

bool MessageBoxPrompter::question(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, shown(text), QMessageBox::Yes | QMessageBox::No, parent_);
    // Window managers cut long titles short, so the question stands in the
    // box's body too, under the text it asks about.
    box.setInformativeText(title);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> MessageBoxPrompter::bookmarkName() {
    if (!form4_) form4_ = new TForm4(parent_);
    return form4_->askName();
}

QString MessageBoxPrompter::saveFileName(const QString& lastName) {
    // No filter and no title of its own; a name without an extension gets
    // "txt", and an existing file is replaced without a question.
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!lastName.isEmpty()) dialog.selectFile(lastName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString MessageBoxPrompter::importFileName(const QString& lastFolder) {
    QFileDialog dialog(parent_, QStringLiteral("Import Book"), lastFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Books (*.epub *.txt *.md *.markdown)"),
                           QStringLiteral("EPUB (*.epub)"), QStringLiteral("Plain text (*.txt)"),
                           QStringLiteral("Markdown (*.md *.markdown)"), QStringLiteral("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace varnet::ui
