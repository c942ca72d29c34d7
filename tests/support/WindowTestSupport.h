// What the window tests share: message boxes and dialogs that record what
// they were asked and answer as the test says, and a wait that lets the
// event loop run until a condition holds.
#pragma once

#include "Prompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>
#include <vector>

namespace varnet::testing {

class FakePrompter : public varnet::ui::Prompter {
public:
    void information(const QString& text) override { notices.push_back(text); }
    void critical(const QString& text) override { errors.push_back(text); }
    std::optional<QString> bookmarkName() override { return nameToGive; }
    QString saveFileName(const QString&) override { return saveName; }
    QString importFileName(const QString&) override { return importName; }
    bool question(const QString& text, const QString& title) override {
        questions.push_back(text);
        titles.push_back(title);
        return answer;
    }
    std::vector<QString> notices, errors, questions, titles;
    QString nameToGive = " ";
    QString saveName;
    QString importName;
    bool answer = false;
};

// Runs the event loop until done() holds or five seconds have passed.
inline bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return done();
}

}  // namespace varnet::testing
