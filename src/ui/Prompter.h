// The message boxes the window shows, behind one small interface so that
// tests can put a recorder in place of the real boxes.
#pragma once

#include <QString>

#include <optional>

namespace varnet::ui {

class Prompter {
public:
    virtual ~Prompter() = default;
    // A plain notice with an OK button.
    virtual void information(const QString& text) = 0;
    // A failure: stop icon, the text followed by a full stop.
    virtual void critical(const QString& text) = 0;
    // A Yes/No question with no icon, under its own title; true for Yes.
    virtual bool question(const QString& text, const QString& title) = 0;
    // The bookmark-name dialog, shown modally: its edit text when it closes
    // by OK or its close box, nothing when the reader cancels it.
    virtual std::optional<QString> bookmarkName() = 0;
    // The save dialog, starting at the name chosen last; empty when the
    // reader cancels.
    virtual QString saveFileName(const QString& lastName) = 0;
    // The dialog that picks a book to import, starting in the folder used
    // last; empty when the reader cancels.
    virtual QString importFileName(const QString& lastFolder) = 0;
};

}  // namespace varnet::ui
