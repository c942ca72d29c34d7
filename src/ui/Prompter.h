// The message boxes the window shows, behind one small interface so that
// tests can put a recorder in place of the real boxes.
#pragma once

#include <QString>

namespace varnet::ui {

class Prompter {
public:
    virtual ~Prompter() = default;
    // A plain notice with an OK button.
    virtual void information(const QString& text) = 0;
    // A failure: stop icon, the text followed by a full stop.
    virtual void critical(const QString& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(const QString& text) = 0;
};

}  // namespace varnet::ui
