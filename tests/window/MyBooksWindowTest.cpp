// My Books in the window: Ctrl+O imports the book the file dialog gives,
// lists it under "My Books" after the built-in catalogue and opens it on the
// Reading page; the Delete key on the selected book removes it after the
// question, and Remove From My Books is enabled only for such a book.
#include "DesktopTestSupport.h"
#include "TForm1.h"

#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using testsupport::Window;
using varnet::ui::TForm1;

TEST(MyBooksWindow, CtrlOImportsAndDeleteRemoves) {
    Window f;
    TForm1& w = *f.w;
    const QString book = f.home.dir.path() + QStringLiteral("/fox.md");
    {
        QFile file(book);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "# The Fox's Year\n\n## Spring\n\nThe fox woke early and went down to the river.\n\n"
            "## Summer\n\nThe cubs played at the mouth of the den in the shade of the oak.\n");
    }
    const int builtInTopLevel = w.tocTree()->topLevelItemCount();
    EXPECT_FALSE(w.RemoveBookItem->isEnabled());

    f.prompter.importName = book;
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(
        testsupport::waitFor([&] { return w.windowTitle() == QStringLiteral("Varnet -- The Fox's Year"); }));
    EXPECT_TRUE(f.prompter.errors.empty());
    EXPECT_EQ(w.PageControl1->currentWidget(), w.ReadTabSheet);
    ASSERT_EQ(w.tocTree()->topLevelItemCount(), builtInTopLevel + 1);
    QTreeWidgetItem* myBooks = w.tocTree()->topLevelItem(builtInTopLevel);
    EXPECT_EQ(myBooks->text(0), QStringLiteral("My Books"));
    ASSERT_EQ(myBooks->childCount(), 1);
    QTreeWidgetItem* fox = myBooks->child(0);
    EXPECT_EQ(fox->text(0), QStringLiteral("The Fox's Year"));
    ASSERT_EQ(fox->childCount(), 2);
    EXPECT_EQ(fox->child(1)->text(0), QStringLiteral("2.  Summer"));
    EXPECT_EQ(w.tocTree()->currentItem(), fox);
    EXPECT_TRUE(w.RemoveBookItem->isEnabled());

    // Another row takes the item's use away; the book's row gives it back.
    w.tocTree()->setCurrentItem(w.tocTree()->topLevelItem(0));
    EXPECT_FALSE(w.RemoveBookItem->isEnabled());
    w.tocTree()->setCurrentItem(fox->child(0));
    EXPECT_TRUE(w.RemoveBookItem->isEnabled());

    // Delete on the tree: No keeps it, Yes removes it.
    w.PageControl1->setCurrentWidget(w.TOCTabSheet);
    w.tocTree()->setFocus();
    QTest::keyClick(w.tocTree(), Qt::Key_Delete);
    ASSERT_EQ(f.prompter.questions.size(), 1u);
    EXPECT_EQ(f.prompter.titles[0], QStringLiteral("Remove From My Books"));
    EXPECT_EQ(w.tocTree()->topLevelItemCount(), builtInTopLevel + 1);
    f.prompter.answer = true;
    QTest::keyClick(w.tocTree(), Qt::Key_Delete);
    EXPECT_EQ(w.tocTree()->topLevelItemCount(), builtInTopLevel);
    EXPECT_TRUE(QDir(f.home.folder() + QStringLiteral("/books")).isEmpty());
    EXPECT_FALSE(w.RemoveBookItem->isEnabled());
    // Delete on a built-in row does nothing.
    QTest::keyClick(w.tocTree(), Qt::Key_Delete);
    EXPECT_EQ(f.prompter.questions.size(), 2u);
    EXPECT_TRUE(f.prompter.errors.empty());
}

// A book imported, or removed, before the contents tree was ever built: the
// menu item and the selection follow it all the same, and the tree, built
// afterwards, stands as it would had it been there all along.
TEST(MyBooksWindow, ImportAndRemovalBeforeTheTreeIsBuilt) {
    for (const bool removeFirst : {false, true}) {
        SCOPED_TRACE(removeFirst ? "imported and removed" : "imported");
        Window f;
        TForm1& w = *f.w;
        const QString book = f.home.dir.path() + QStringLiteral("/owl.md");
        {
            QFile file(book);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("# The Owl\n\n## Night\n\nThe owl sat in the oak and watched the lane.\n");
        }
        ASSERT_EQ(w.TOCTreeView, nullptr);
        const std::optional<std::int32_t> root = w.selectedNodeIndex();

        // As a start-up with the book on its command line imports it (the
        // menu's import shows the contents page first).
        w.session().importBook(book.toStdString());
        EXPECT_TRUE(f.prompter.errors.empty());
        ASSERT_EQ(w.TOCTreeView, nullptr);
        EXPECT_TRUE(w.RemoveBookItem->isEnabled());
        const std::optional<std::int32_t> owl = w.selectedNodeIndex();
        ASSERT_TRUE(owl.has_value());
        EXPECT_NE(owl, root);
        if (removeFirst) {
            f.prompter.answer = true;
            w.RemoveBookItemClick();
            ASSERT_EQ(f.prompter.questions.size(), 1u);
            EXPECT_FALSE(w.RemoveBookItem->isEnabled());
            EXPECT_EQ(w.TOCTreeView, nullptr);
        }

        // Its page brings the tree: built, shown, the current row in view.
        w.PageControl1->setCurrentWidget(w.TOCTabSheet);
        QCoreApplication::processEvents();
        QTreeWidget* tree = w.TOCTreeView;
        ASSERT_NE(tree, nullptr);
        QTreeWidgetItem* last = tree->topLevelItem(tree->topLevelItemCount() - 1);
        if (removeFirst) {
            EXPECT_NE(last->text(0), QStringLiteral("My Books"));
            EXPECT_EQ(w.selectedNodeIndex(), root);
        } else {
            ASSERT_EQ(last->text(0), QStringLiteral("My Books"));
            EXPECT_TRUE(last->isExpanded());
            ASSERT_EQ(last->childCount(), 1);
            EXPECT_EQ(tree->currentItem(), last->child(0));
            EXPECT_EQ(w.selectedNodeIndex(), owl);
            EXPECT_TRUE(w.RemoveBookItem->isEnabled());
        }
    }
}
