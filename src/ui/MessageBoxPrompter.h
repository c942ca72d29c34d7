// The real message boxes: modal, with the application title as caption.
#pragma once

#include "Prompter.h"

class QWidget;

namespace varnet::ui {

class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void information(const QString& text) override;
    void critical(const QString& text) override;
    bool question(const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace varnet::ui
