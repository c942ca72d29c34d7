// The keyboard accelerators and the mouse wheel, sent the way the platform
// sends them (through Qt's shortcut map, then as key presses): accelerators
// run their menu items; every other key press passes the window's key handler
// first, which keeps only the paging keys it acts on, and the rest reach the
// focused widget.
#include "AtomicFile.h"
#include "DesktopTestSupport.h"
#include "ObeyingFilePermissions.h"
#include "TFindDialog.h"
#include "TForm1.h"
#include "TreeFill.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QWindow>

#include <memory>

using testsupport::Window;
using varnet::ui::TForm1;

namespace {

void wheel(QWidget* target, int eighths) {
    QWheelEvent turn(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, eighths),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &turn);
}

}  // namespace

TEST(Shortcuts, AcceleratorsRunTheirMenuItems) {
    Window f;
    TForm1& w = *f.w;
    f.prompter.saveName = f.home.dir.path() + QStringLiteral("/panel.txt");
    const int size = w.FontSizeTrackBar->value();
    struct Case {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<bool()> done;
    };
    const std::vector<Case> cases = {
        {"Ctrl+F opens Find", Qt::Key_F, Qt::ControlModifier, [&] { return w.findDialog()->isVisible(); }},
        {"Ctrl+plus", Qt::Key_Plus, Qt::ControlModifier,
         [&] { return w.FontSizeTrackBar->value() == size + 1; }},
        {"Ctrl+= is Ctrl+plus", Qt::Key_Equal, Qt::ControlModifier,
         [&] { return w.FontSizeTrackBar->value() == size + 2; }},
        {"Ctrl+minus", Qt::Key_Minus, Qt::ControlModifier,
         [&] { return w.FontSizeTrackBar->value() == size + 1; }},
        {"F11 on", Qt::Key_F11, Qt::NoModifier,
         [&] { return w.isFullScreen() && w.FullScreenItem->isChecked(); }},
        {"F11 off", Qt::Key_F11, Qt::NoModifier,
         [&] { return !w.isFullScreen() && !w.FullScreenItem->isChecked(); }},
        {"Ctrl+S saves the screen", Qt::Key_S, Qt::ControlModifier,
         [&] { return QFile::exists(f.prompter.saveName); }},
        {"Ctrl+Q exits", Qt::Key_Q, Qt::ControlModifier, [&] { return !w.isVisible(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.activateWindow();
        ASSERT_TRUE(testsupport::waitFor([&] { return QGuiApplication::focusWindow() == w.windowHandle(); }));
        // A text box holds the focus: it must not keep the accelerator.
        w.Memo1->setFocus();
        const QString memo = w.Memo1->toPlainText();
        QTest::keyClick(w.Memo1, c.key, c.modifiers);
        EXPECT_TRUE(testsupport::waitFor(c.done));
        EXPECT_EQ(w.Memo1->toPlainText(), memo);
        if (w.findDialog()->isVisible()) w.findDialog()->close();
    }
    EXPECT_EQ(w.state().TopLine, 0);  // no accelerator paged
    EXPECT_TRUE(f.prompter.errors.empty());
}

// Tab goes through the widgets of each page in the order they stand in: the
// About page after the left tab row, then the control panel; the Index page
// after the Options page's last button. The two trees, built on first use,
// stand where a tree built with its page would.
TEST(Shortcuts, TabVisitsEveryPageInItsPlace) {
    Window f;
    TForm1& w = *f.w;
    QWindow* window = w.windowHandle();
    const auto visit = [&](QWidget* from, int presses) {
        from->setFocus(Qt::TabFocusReason);
        QStringList names;
        for (int k = 0; k < presses; ++k) {
            QTest::keyClick(window, Qt::Key_Tab);
            QCoreApplication::processEvents();
            QWidget* now = QApplication::focusWidget();
            names << (now ? now->objectName() : QStringLiteral("-"));
        }
        return names.join(QLatin1Char(' '));
    };
    ASSERT_EQ(w.PageControl1->currentWidget(), w.AboutTabSheet);
    // The ordering notice takes Tab as a character; the page is entered from
    // the tab row and left from its OK button.
    EXPECT_EQ(visit(w.PageControl1->tabBar(), 1), QStringLiteral("Memo1"));
    EXPECT_EQ(visit(w.OKButton, 3), QStringLiteral("BuyMemo qt_tabwidget_tabbar FontSizeTrackBar"));

    w.session().openTextFile("fable.qtx");  // a text with a word index: the Index tab shows
    w.PageControl2->setCurrentWidget(w.IndexTabSheet);
    EXPECT_EQ(visit(w.PageControl2->tabBar(), 3),
              QStringLiteral("IndexMemo IndexLoadButton qt_tabwidget_tabbar"));

    // The widgets Tab can reach after a given one, pages on show or not.
    const auto tabStopsAfter = [](QWidget* from, int count) {
        QStringList names;
        for (QWidget* next = from->nextInFocusChain(); next != from && names.size() < count;
             next = next->nextInFocusChain())
            if (next->focusPolicy() & Qt::TabFocus) names << next->objectName();
        return names.join(QLatin1Char(' '));
    };
    ASSERT_EQ(w.TOCTreeView, nullptr);
    w.tocTree();
    EXPECT_EQ(tabStopsAfter(w.PageControl1->tabBar(), 4),
              QStringLiteral("ScrollLeftButton ScrollRightButton TOCTreeView Image1"));
    f.clickRow(3);  // a chapter of the demo book, which has a word index
    w.IndexLoadButtonClick();
    ASSERT_NE(w.InxTreeView, nullptr);
    EXPECT_EQ(tabStopsAfter(w.ResetToStartupDefaultsButton, 3),
              QStringLiteral("InxTreeView IndexMemo IndexLoadButton"));
}

// A reader without a mouse: through the window's own key events, reach the
// contents tree, open chapter 3, page with Space, then change the scheme on
// the Options page.

TEST(Shortcuts, AReaderCanDoEverythingFromTheKeyboard) {
    Window f;
    TForm1& w = *f.w;
    QWindow* window = w.windowHandle();
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window, k, modifiers);
        QCoreApplication::processEvents();
    };
    const auto tabTo = [&](QWidget* target) {
        for (int k = 0; k < 60 && QApplication::focusWidget() != target; ++k) key(Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    };

    ASSERT_TRUE(tabTo(w.PageControl1->tabBar()));
    while (w.PageControl1->currentWidget() != w.TOCTabSheet) key(Qt::Key_Left);
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.tocTree());
    // From the root: "Listed by Title", open it, the book, open it, chapter 3.
    for (Qt::Key k :
         {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down})
        key(k);
    EXPECT_EQ(varnet::ui::absoluteIndex(w.tocTree(), w.tocTree()->currentItem()), 5);
    key(Qt::Key_Return);
    EXPECT_EQ(w.PageControl1->currentWidget(), w.ReadTabSheet);
    EXPECT_NE(w.state().CurrentText->get(w.state().TopLine - 1).find("|refpt003>"), std::string::npos);
    EXPECT_EQ(QApplication::focusWidget(), w.Image1);

    const std::int32_t first = w.state().TopLine, second = w.state().NextLine;
    key(Qt::Key_Space);
    EXPECT_EQ(w.state().TopLine, second);
    key(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_LT(w.state().TopLine, second);
    key(Qt::Key_Down);
    EXPECT_GT(w.state().TopLine, first);

    ASSERT_TRUE(tabTo(w.PageControl2->tabBar()));
    while (w.PageControl2->currentWidget() != w.OptionsTabSheet) key(Qt::Key_Right);
    ASSERT_TRUE(tabTo(w.BGColorButtons->button(0)));
    key(Qt::Key_Down);  // the next scheme in the group
    EXPECT_EQ(w.bgColorItemIndex(), 1);
    EXPECT_EQ(w.state().SchemeColours[0][0], 0x00462F39u);  // Dark Colored drawn

    // Escape closes the Find dialog.
    key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(testsupport::waitFor([&] { return w.findDialog()->isVisible(); }));
    QTest::keyClick(w.findDialog()->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(testsupport::waitFor([&] { return !w.findDialog()->isVisible(); }));
}

// The Find dialog is made when first needed; F3 before that finds nothing
// and moves nothing.
TEST(Shortcuts, TheFindDialogIsMadeWhenFirstNeeded) {
    Window f;
    TForm1& w = *f.w;
    EXPECT_EQ(w.findChild<varnet::ui::TFindDialog*>(), nullptr);
    f.clickRow(3);
    const std::int32_t top = w.state().TopLine;
    w.paging().NextButtonClick();  // closing a dialog that is not there
    const std::int32_t next = w.state().TopLine;
    EXPECT_NE(next, top);
    QTest::keyClick(w.windowHandle(), Qt::Key_F3);
    EXPECT_EQ(w.state().TopLine, next);
    QTest::keyClick(w.windowHandle(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(testsupport::waitFor([&] { return w.findChild<varnet::ui::TFindDialog*>() != nullptr; }));
    EXPECT_TRUE(w.findDialog()->isVisible());
}

// Entering the control panel brings the Reading page forward, but the focus
// stays where the reader put it: the slider's arrows move the slider.
TEST(Shortcuts, TheControlPanelKeepsTheFocus) {
    Window f;
    TForm1& w = *f.w;
    f.clickRow(3);
    w.PageControl1->setCurrentWidget(w.TOCTabSheet);
    w.FontSizeTrackBar->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.PageControl1->currentWidget(), w.ReadTabSheet);
    EXPECT_EQ(QApplication::focusWidget(), w.FontSizeTrackBar);
    const int size = w.FontSizeTrackBar->value();
    const std::int32_t top = w.state().TopLine;
    QTest::keyClick(w.windowHandle(), Qt::Key_Right);
    EXPECT_EQ(w.FontSizeTrackBar->value(), size + 1);
    EXPECT_EQ(w.state().TopLine, top);
}

TEST(Shortcuts, F3AndShiftF3FindOnceDownAndOnceUpWhateverTheDialogSays) {
    Window f;
    TForm1& w = *f.w;
    f.clickRow(3);  // the demo book's first chapter
    varnet::ui::TFindDialog* dialog = w.findDialog();
    dialog->FindTextEdit->setText(QStringLiteral("Grasshopper"));
    dialog->UpButton->setChecked(true);  // the dialog says up
    const auto holds = [&](std::int32_t line) {
        return w.state().CurrentText->get(line).find("Grasshopper") != std::string::npos;
    };

    w.tocTree()->setFocus();
    const auto top = w.state().TopLine;
    QTest::keyClick(w.tocTree(), Qt::Key_F3);
    const auto first = w.state().SearchFound;
    EXPECT_GT(first, top);
    EXPECT_TRUE(holds(first));
    QTest::keyClick(w.tocTree(), Qt::Key_F3);
    const auto second = w.state().SearchFound;
    EXPECT_GT(second, first);
    EXPECT_TRUE(holds(second));
    QTest::keyClick(w.tocTree(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_LT(w.state().SearchFound, second);
    EXPECT_TRUE(holds(w.state().SearchFound));
    EXPECT_FALSE(dialog->searchDown());  // the dialog's own direction is kept
}

TEST(Shortcuts, TheWheelPagesOnePanelPerNotch) {
    Window f;
    TForm1& w = *f.w;
    f.clickRow(3);  // the demo book's first chapter
    const std::int32_t first = w.state().TopLine;
    const std::int32_t second = w.state().NextLine;
    wheel(w.Image1, -120);
    EXPECT_EQ(w.state().TopLine, second);
    wheel(w.Image1, 120);
    EXPECT_LT(w.state().TopLine, second);
    w.state().NextLine = w.renderer().DrawPanel(first);
    // Half notches page once they add up to a whole one.
    wheel(w.Image1, -60);
    EXPECT_EQ(w.state().TopLine, first);
    wheel(w.Image1, -60);
    EXPECT_EQ(w.state().TopLine, second);
}

// The bookmark accelerators act on the text on show, as the menu items do
// after the menu has dropped down: here the last section looked up belongs
// to another text (the author's page), and no menu is opened before the keys.
TEST(Shortcuts, BookmarkAcceleratorsWorkOnTheSectionOfTheTextOnShow) {
    Window f;
    TForm1& w = *f.w;
    f.clickRow(28);  // the author's page: its section is looked up
    w.BMMenuClick();
    f.clickRow(5);  // chapter 3 of the demo book, opened at its anchor
    for (int k = 0; k < 2; ++k) w.NextButtonClick();
    const auto marked = w.state().TopLine;
    f.prompter.nameToGive = QStringLiteral("Lion");
    w.tocTree()->setFocus();
    QTest::keyClick(w.tocTree(), Qt::Key_B, Qt::ControlModifier);
    QFile file(QString::fromStdString(w.state().BookmarkPath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bm = file.readAll();
    EXPECT_TRUE(bm.contains(QByteArray("<<fable\r\n#") + QByteArray::number(marked) + " Lion\r\n"))
        << bm.data();
    EXPECT_FALSE(bm.endsWith(" Lion\r\n")) << bm.data();  // not at the end of the last section

    // Ctrl+G offers the new bookmark at once and goes there.
    w.PrevButtonClick();
    ASSERT_NE(w.state().TopLine, marked);
    QStringList offered;
    QTimer::singleShot(100, &w, [&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : popup->actions()) offered << a->text();
            if (!popup->actions().isEmpty()) popup->setActiveAction(popup->actions().front());
            QTest::keyClick(popup, Qt::Key_Return);
        }
    });
    QTest::keyClick(w.tocTree(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(offered, QStringList{QStringLiteral("Lion")});
    EXPECT_EQ(w.state().TopLine, marked);

    // Within the open Bookmarks menu the items keep their keys on show.
    EXPECT_EQ(w.BMAddItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    EXPECT_EQ(w.BMGOItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
}

// Over a bookmark file the reader cannot use, Ctrl+B and Ctrl+G do what their
// menu items do once the Bookmarks menu has dropped down. A file that cannot
// be read lists nothing: Go To Bookmark is disabled, so its key offers and
// says nothing, and Add Bookmark says once that the file cannot be read. When
// the drop-down step itself fails (the text's section header cannot be
// saved), its one message is all that either key shows. Each press shows at
// most one message, and the file is left byte for byte as it was.
TEST(Shortcuts, BookmarkAcceleratorsOverAFileTheyCannotUseShowOneMessageAndWriteNothing) {
    enum class Trouble { unreadableAtStart, unreadableOnceOpened, headerCannotBeSaved };
    struct Case {
        const char* name;
        Trouble trouble;
        int row;              // the contents row opened
        const char* message;  // what Ctrl+B shows, before the file's path
        bool goShows;         // whether Ctrl+G shows it too
    };
    const std::vector<Case> cases = {
        {"unreadable from the start", Trouble::unreadableAtStart, 3, "Cannot read file ", false},
        {"unreadable once the chapter was open", Trouble::unreadableOnceOpened, 3, "Cannot read file ",
         false},
        // The welcome page has no section: line 0 is never taken as one.
        {"a section header that cannot be saved", Trouble::headerCannotBeSaved, 0, "Cannot create file ",
         true},
    };
    const QByteArray bytes = "<<none\r\n<<title\r\n<<fable\r\n#99 kept\r\n<<author\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::DataHome home;
        home.write(".bm", bytes);
        const QString path = home.file(".bm");
        const QString message = QString::fromLatin1(c.message) + path;
        std::unique_ptr<testsupport::ObeyingFilePermissions> obeying;
        const auto makeUnreadable = [&] {
            ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
            obeying = std::make_unique<testsupport::ObeyingFilePermissions>();
            QFile probe(path);
            ASSERT_FALSE(probe.open(QIODevice::ReadOnly)) << "the permissions do not hold";
        };
        // Writes are refused only within the case, whatever ends it.
        struct AllowWritesAtEnd {
            ~AllowWritesAtEnd() { varnet::AtomicFile::setFailureHook({}); }
        } allowWritesAtEnd;

        if (c.trouble == Trouble::unreadableAtStart) {
            ASSERT_NO_FATAL_FAILURE(makeUnreadable());
        }
        testsupport::StartedWindow f;
        TForm1& w = *f.w;
        f.prompter.nameToGive = QStringLiteral("Lion");
        if (c.trouble == Trouble::headerCannotBeSaved)
            varnet::AtomicFile::setFailureHook([](varnet::AtomicFile::Step) { return true; });
        f.clickRow(c.row);
        if (c.trouble == Trouble::unreadableOnceOpened) {
            w.BMMenuClick();
            ASSERT_TRUE(w.BMGOItem->isEnabled());  // the kept bookmark is listed
            ASSERT_NO_FATAL_FAILURE(makeUnreadable());
        }
        f.prompter.errors.clear();
        const std::int32_t top = w.state().TopLine;
        w.activateWindow();
        ASSERT_TRUE(testsupport::waitFor([&] { return QGuiApplication::focusWindow() == w.windowHandle(); }));

        QTest::keyClick(&w, Qt::Key_B, Qt::ControlModifier);
        EXPECT_EQ(f.prompter.errors, std::vector<QString>{message});

        // A popup offered by Ctrl+G would wait for a choice: it is closed and
        // counted.
        bool offered = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                offered = true;
                popup->close();
            }
        });
        closer.start(20);
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        closer.stop();
        EXPECT_FALSE(offered);
        EXPECT_EQ(w.state().TopLine, top);
        EXPECT_EQ(f.prompter.errors.size(), c.goShows ? 2u : 1u);

        QTest::keyClick(&w, Qt::Key_B, Qt::ControlModifier);  // each press its own one message
        EXPECT_EQ(f.prompter.errors.size(), c.goShows ? 3u : 2u);
        for (const QString& shown : f.prompter.errors) EXPECT_EQ(shown, message);

        // The menu as it drops down: Go To Bookmark cannot be chosen, Add
        // Bookmark can.
        w.BMMenu->popup(w.mapToGlobal(QPoint(10, 10)));
        QCoreApplication::processEvents();
        EXPECT_FALSE(w.BMGOItem->isEnabled());
        EXPECT_TRUE(w.BMAddItem->isEnabled());
        w.BMMenu->hide();

        varnet::AtomicFile::setFailureHook({});
        f.close();
        f.w.reset();
        obeying.reset();
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        EXPECT_EQ(home.read(".bm"), bytes);
    }
}
