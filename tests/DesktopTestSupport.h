// What the window tests of the desktop integration share: a data folder per
// test and a started, active window that has drawn its first panel.
#pragma once

#include "TForm1.h"
#include "WindowTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

struct DataHome {
    QTemporaryDir dir;
    DataHome() { qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit()); }
};

// A shown, active window on its start-up panel.
struct Window {
    DataHome home;
    FakePrompter prompter;
    std::unique_ptr<varnet::ui::TForm1> w;
    Window() {
        w = std::make_unique<varnet::ui::TForm1>(&prompter);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(waitFor([&] { return w->state().CurrentText && !w->state().CurrentText->empty(); }));
        EXPECT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == w->windowHandle(); }));
        QCoreApplication::processEvents();
    }
    // A click on a row of the contents tree, as the reader makes it.
    void clickRow(int row) {
        QTreeWidgetItem* item = varnet::ui::TForm1::itemAtAbsoluteIndex(w->TOCTreeView, row);
        ASSERT_NE(item, nullptr);
        w->TOCTreeView->setCurrentItem(item);
        w->state().TreeToggled = false;
        w->TOCTreeViewClick();
    }
};

}  // namespace testsupport
