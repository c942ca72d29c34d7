// The real message boxes: modal, with the application title as caption.
#pragma once

#include "Prompter.h"

class QWidget;
class TForm4;

namespace varnet::ui {

class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void information(const QString& text) override;
    void critical(const QString& text) override;
    bool question(const QString& text, const QString& title) override;
    std::optional<QString> bookmarkName() override;
    QString saveFileName(const QString& lastName) override;
    QString importFileName(const QString& lastFolder) override;

    // The bookmark-name dialog the program created at start.
    void setBookmarkDialog(TForm4* dialog) { form4_ = dialog; }

private:
    QWidget* parent_;
    TForm4* form4_ = nullptr;
};

}  // namespace varnet::ui
