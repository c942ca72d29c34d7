// What the window tests of the desktop integration share: a data folder per
// test and a started, active window that has drawn its first panel.
#pragma once

#include "TForm1.h"
#include "TreeFill.h"
#include "WindowTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

using varnet::testing::FakePrompter;
using varnet::testing::waitFor;

// The name the program gives its side file with this extension (".ini",
// ".bm") in a folder: the test program's own name, as the reader derives it.
inline QString sideFileName(const QString& folder, const char* extension) {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return folder + QStringLiteral("/") + program.section('.', 0, 0).toLower() +
           QString::fromLatin1(extension);
}

// A data folder of the test's own for every window started while it lives.
struct DataHome {
    QTemporaryDir dir;
    DataHome() { qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit()); }
    QString folder() const { return dir.path() + QStringLiteral("/Quorra"); }
    QString file(const char* extension) const { return sideFileName(folder(), extension); }
    QByteArray read(const char* extension) const {
        QFile f(file(extension));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Writes a side file before the window starts, the folder made first.
    void write(const char* extension, const QByteArray& bytes) const {
        QDir().mkpath(folder());
        QFile f(file(extension));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

// A shown window that has drawn its first panel, in whatever data folder is
// set; its questions get the answer given.
struct StartedWindow {
    FakePrompter prompter;
    std::unique_ptr<varnet::ui::TForm1> w;
    explicit StartedWindow(bool answer = false) {
        prompter.answer = answer;
        w = std::make_unique<varnet::ui::TForm1>(&prompter);
        w->show();
        EXPECT_TRUE(waitFor([&] { return w->state().CurrentText && !w->state().CurrentText->empty(); }));
    }
    // A click on a row of the contents tree, as the reader makes it.
    void clickRow(int row) {
        QTreeWidgetItem* item = varnet::ui::itemAtAbsoluteIndex(w->tocTree(), row);
        ASSERT_NE(item, nullptr);
        w->tocTree()->setCurrentItem(item);
        w->state().TreeToggled = false;
        w->TOCTreeViewClick();
    }
    void close() {
        w->close();
        QCoreApplication::processEvents();
    }
};

// The data folder comes first, so that the window starts in it.
struct OwnDataHome {
    DataHome home;
};

// A started window with a data folder of its own, active with the input
// focus.
struct Window : OwnDataHome, StartedWindow {
    Window() {
        w->activateWindow();
        EXPECT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == w->windowHandle(); }));
        QCoreApplication::processEvents();
    }
};

}  // namespace testsupport
