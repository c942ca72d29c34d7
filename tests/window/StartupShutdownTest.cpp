// The reader's start-up and shut-down on the offscreen platform, each test
// with a data folder of its own: the side files written, the contents tree's
// starting state and the first real mouse clicks on it, and a reading
// session that a second start resumes.
#include "DesktopTestSupport.h"
#include "IniFile.h"
#include "SaveScreen.h"
#include "SettingsFile.h"
#include "TFindDialog.h"
#include "TForm1.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

using varnet::testing::FakePrompter;
using varnet::testing::waitFor;
using varnet::ui::TForm1;

using testsupport::DataHome;
using Window = testsupport::StartedWindow;

TEST(Startup, AnEmptyDataFolderGetsTheDefaultFilesAndTheTreeItsStartingState) {
    DataHome home;
    Window f;
    const QByteArray ini = home.read(".ini");
    const QList<QByteArray> lines = ini.split('\n');
    ASSERT_EQ(lines.size(), 18);  // seventeen lines, each ended by CR LF
    EXPECT_TRUE(lines[0].startsWith('[') && lines[0].endsWith(".toc]\r"));
    EXPECT_EQ(lines[1], "[how]\r");
    EXPECT_EQ(lines[16], "\r");
    EXPECT_TRUE(ini.endsWith("\r\n\r\n"));
    EXPECT_EQ(home.read(".bm"), QByteArray("<<none\r\n<<title\r\n<<fable\r\n<<author\r\n"));

    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Mirrowen"));
    QTreeWidget* tree = f.w->tocTree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("Mirrowen  "));
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(tree->currentItem(), root);
    EXPECT_FALSE(root->child(0)->isExpanded());  // Listed by Title
    EXPECT_TRUE(root->child(1)->isExpanded());   // Listed by Author
    EXPECT_FALSE(root->child(1)->child(0)->isExpanded());
    EXPECT_EQ(root->child(0)->child(0)->childCount(), 24);
    // The start-up's own expansions leave the reader's first click to act.
    EXPECT_FALSE(f.w->state().TreeToggled);
    EXPECT_TRUE(f.prompter.errors.empty());
}

// The data folder is Quorra in the user's data folder as the environment
// names it: XDG_DATA_HOME when it is set, else the home folder's
// .local/share.
TEST(Startup, TheDataFolderFollowsTheEnvironment) {
    QTemporaryDir dir;
    const QString root = dir.path();
    const QByteArray savedHome = qgetenv("HOME");
    struct Case {
        const char* name;
        QByteArray xdg;
        bool xdgSet;
        QString folder;  // where the side files must appear
    };
    const std::vector<Case> cases = {
        {"XDG_DATA_HOME", (root + "/xdg").toLocal8Bit(), true, root + "/xdg/Quorra"},
        {"XDG_DATA_HOME with trailing slashes", (root + "/slashes//").toLocal8Bit(), true,
         root + "/slashes/Quorra"},
        {"XDG_DATA_HOME unset", {}, false, root + "/home/.local/share/Quorra"},
        {"XDG_DATA_HOME empty", "", true, root + "/home/.local/share/Quorra"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(root).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(root + "/home"));
        qputenv("HOME", (root + "/home").toLocal8Bit());
        if (c.xdgSet)
            qputenv("XDG_DATA_HOME", c.xdg);
        else
            qunsetenv("XDG_DATA_HOME");
        {
            Window f;
            EXPECT_TRUE(f.prompter.errors.empty());
            f.close();
        }
        EXPECT_TRUE(QFileInfo::exists(testsupport::sideFileName(c.folder, ".ini")));
        EXPECT_TRUE(QFileInfo::exists(testsupport::sideFileName(c.folder, ".bm")));
    }
    qputenv("HOME", savedHome);
    qunsetenv("XDG_DATA_HOME");
}

namespace {

// Real mouse clicks, delivered as the platform delivers them: on a page's
// tab, and on a row of the contents tree, either on its text or on the
// expand arrow left of it. The click's handler runs once control is back in
// the event loop.
void clickTab(QTabWidget* pages, QWidget* page) {
    QTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(pages->indexOf(page)).center());
    QCoreApplication::processEvents();
}
void clickTreeRow(QTreeWidget* tree, QTreeWidgetItem* item, bool onArrow) {
    const QRect row = tree->visualItemRect(item);
    ASSERT_FALSE(row.isEmpty()) << item->text(0).toStdString();
    const QPoint at = onArrow ? QPoint(row.left() - tree->indentation() / 2, row.center().y()) : row.center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
}

}  // namespace

// The start-up expands the tree itself; the reader's first click on a row
// still opens it, just as the click handler does when it runs on its own.
TEST(Startup, TheFirstRealClickOnARowOpensIt) {
    std::string title, opened;
    std::int32_t top = -1;
    std::int32_t row = -1;
    {
        testsupport::Window expected;
        QTreeWidgetItem* author = expected.w->tocTree()->topLevelItem(0)->child(1)->child(0);
        row = varnet::ui::absoluteIndex(expected.w->tocTree(), author);
        expected.clickRow(row);
        title = expected.w->windowTitle().toStdString();
        opened = expected.w->state().OpenFileName;
        top = expected.w->state().TopLine;
        ASSERT_NE(title, "Varnet");
    }
    testsupport::Window f;
    TForm1& w = *f.w;
    const std::string atStart = w.state().OpenFileName;
    ASSERT_NE(atStart, opened);
    clickTab(w.PageControl1, w.TOCTabSheet);
    ASSERT_EQ(w.PageControl1->currentWidget(), w.TOCTabSheet);
    clickTreeRow(w.tocTree(), varnet::ui::itemAtAbsoluteIndex(w.tocTree(), row), false);
    EXPECT_EQ(w.windowTitle().toStdString(), title);
    EXPECT_EQ(w.state().OpenFileName, opened);
    EXPECT_EQ(w.state().TopLine, top);
    EXPECT_EQ(w.PageControl1->currentWidget(), w.ReadTabSheet);
    EXPECT_TRUE(f.prompter.errors.empty());
    EXPECT_TRUE(f.prompter.notices.empty());
}

// A click on a row's expand arrow opens or closes the branch and opens
// nothing, neither the row nor the one selected; the next click on a row's
// text opens that row.
TEST(Startup, AClickOnAnExpandArrowOnlyTogglesTheBranch) {
    testsupport::Window f;
    TForm1& w = *f.w;
    const std::string atStart = w.state().OpenFileName;
    const std::int32_t top = w.state().TopLine;
    clickTab(w.PageControl1, w.TOCTabSheet);
    QTreeWidgetItem* byTitle = w.tocTree()->topLevelItem(0)->child(0);
    ASSERT_FALSE(byTitle->isExpanded());
    for (const bool expanded : {true, false}) {
        SCOPED_TRACE(expanded ? "expanding" : "collapsing");
        clickTreeRow(w.tocTree(), byTitle, true);
        EXPECT_EQ(byTitle->isExpanded(), expanded);
        EXPECT_FALSE(w.state().TreeToggled);  // the mark was used by the click's own handler
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Varnet"));
        EXPECT_EQ(w.state().OpenFileName, atStart);
        EXPECT_EQ(w.state().TopLine, top);
        EXPECT_EQ(w.PageControl1->currentWidget(), w.TOCTabSheet);
        EXPECT_TRUE(f.prompter.notices.empty());
    }
    clickTreeRow(w.tocTree(), w.tocTree()->topLevelItem(0)->child(1)->child(0), false);
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("Varnet -- "))) << w.windowTitle().toStdString();
    EXPECT_NE(w.state().OpenFileName, atStart);
    EXPECT_EQ(w.PageControl1->currentWidget(), w.ReadTabSheet);
    EXPECT_TRUE(f.prompter.errors.empty());
}

TEST(Startup, ASecondStartWritesNothing) {
    DataHome home;
    {
        Window first;
        first.close();
    }
    const QByteArray ini = home.read(".ini"), bm = home.read(".bm");
    const QDateTime iniTime = QFileInfo(home.file(".ini")).lastModified();
    {
        Window second;
        EXPECT_EQ(home.read(".ini"), ini);
        EXPECT_EQ(home.read(".bm"), bm);
        EXPECT_EQ(QFileInfo(home.file(".ini")).lastModified(), iniTime);
    }
}

TEST(Startup, SettingsComeBackAndClosingAsWideAsTheScreenKeepsTheStoredBounds) {
    DataHome home;
    {
        Window f;
        f.w->setBGColorItemIndex(1);  // Dark Colored
        f.w->FontSizeTrackBar->setValue(21);
        f.w->TwoColorCheckBox->setChecked(true);
        EXPECT_EQ(f.w->state().SchemeColours[0][0], 0x00462F39u);
        f.close();
    }
    {
        Window f;
        EXPECT_EQ(f.w->bgColorItemIndex(), 1);
        EXPECT_EQ(f.w->FontSizeTrackBar->value(), 21);
        EXPECT_EQ(f.w->state().FontSize, 21);
        EXPECT_TRUE(f.w->TwoColorCheckBox->isChecked());
        EXPECT_EQ(f.w->state().SchemeColours[0][6], 0x0087D6E7u);  // marked words take the text colour
        QByteArray expected = home.read(".ini");
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        f.w->setOuterBounds(QRect(0, 0, screen.width(), 500));
        QCoreApplication::processEvents();
        f.w->FontSizeTrackBar->setValue(30);
        f.close();
        // The options are written; the bounds stay as they were stored.
        expected.replace("fontsize=21", "fontsize=30");
        EXPECT_EQ(home.read(".ini"), expected);
    }
}

TEST(Startup, ADataFolderThatCannotBeMadeIsReportedAndTheWindowStillRuns) {
    DataHome home;
    QFile blocker(home.dir.path() + QStringLiteral("/Quorra"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    Window f;
    ASSERT_EQ(f.prompter.errors.size(), 1u);
    EXPECT_EQ(f.w->tocTree()->topLevelItemCount(), 0);
    EXPECT_EQ(f.w->state().NextLine, 17);
    f.w->NextButtonClick();
    f.w->BMMenuClick();
    f.w->BMAddItemClick();
    f.close();
}

TEST(ReadingSession, ABookmarkIsAddedAndASecondStartOffersToResumeThere) {
    DataHome home;
    std::int32_t markedLine = 0;
    {
        Window f;
        f.clickRow(5);  // chapter 3 under the title list
        EXPECT_EQ(f.w->windowTitle().left(10), QStringLiteral("Varnet -- "));
        EXPECT_EQ(f.w->PageControl1->currentWidget(), f.w->ReadTabSheet);
        const auto& text = *f.w->state().CurrentText;
        EXPECT_NE(text[f.w->state().TopLine - 1].find("|refpt003>"), std::string::npos);
        for (int k = 0; k < 5; ++k) f.w->NextButtonClick();
        markedLine = f.w->state().TopLine;
        f.w->BMMenuClick();
        f.prompter.nameToGive = QStringLiteral("Lion");
        f.w->BMAddItemClick();
        f.close();
    }
    const QByteArray bm = home.read(".bm");
    EXPECT_TRUE(bm.contains(QByteArray("<<fable\r\n#") + QByteArray::number(markedLine) + " Lion\r\n"))
        << bm.data();
    {
        Window f(true);
        f.clickRow(2);  // the book at its start: the offer names the bookmark
        ASSERT_EQ(f.prompter.questions.size(), 1u);
        EXPECT_EQ(f.prompter.questions[0], QStringLiteral("Lion"));
        EXPECT_EQ(f.prompter.titles[0],
                  QStringLiteral("Do you want to start reading where you last closed the file?"));
        EXPECT_EQ(f.w->state().TopLine, markedLine);
        // Paging on and leaving the book writes its closing bookmark.
        f.w->NextButtonClick();
        const std::int32_t closedAt = f.w->state().TopLine;
        f.clickRow(1);
        const QByteArray after = home.read(".bm");
        EXPECT_TRUE(
            after.contains(QByteArray("<<fable\r\n#") + QByteArray::number(closedAt) + " Closed book at "))
            << after.data();
        EXPECT_TRUE(after.contains(" Lion\r\n"));
        f.close();
    }
}

TEST(ReadingSession, FindTheIndexAndSavingTheScreen) {
    DataHome home;
    Window f;
    f.clickRow(3);  // chapter 1: the demo book has a word index
    const int indexTab = f.w->PageControl2->indexOf(f.w->IndexTabSheet);
    EXPECT_TRUE(f.w->PageControl2->isTabVisible(indexTab));

    // The word index: load it, click a reference, and the panel starts five
    // lines above the line it names.
    f.w->IndexLoadButtonClick();
    EXPECT_TRUE(f.w->indexTree()->isVisibleTo(f.w->IndexTabSheet));
    ASSERT_EQ(f.w->indexTree()->topLevelItemCount(), 1);
    QTreeWidgetItem* letter = f.w->indexTree()->topLevelItem(0)->child(0);
    ASSERT_NE(letter, nullptr);
    QTreeWidgetItem* reference = letter->child(0)->child(0);
    ASSERT_NE(reference, nullptr);
    f.w->indexTree()->setCurrentItem(reference);
    f.w->InxTreeViewClick();
    EXPECT_EQ(f.w->state().TopLine, std::max(0, reference->text(0).trimmed().toInt() - 5));

    // Saving the panel on show writes the words of its lines and of the
    // line after it, tags gone, each line ended by CR LF.
    const auto& st = f.w->state();
    f.prompter.saveName = home.dir.path() + QStringLiteral("/panel.txt");
    f.w->SaveScreenItemClick();
    QFile saved(f.prompter.saveName);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(bytes.toStdString(), varnet::savedScreenBytes(st));
    QList<QByteArray> written = bytes.split('\n');
    ASSERT_EQ(written.takeLast(), QByteArray());  // nothing after the last CR LF
    ASSERT_FALSE(written.empty());
    for (const QByteArray& line : written) EXPECT_TRUE(line.endsWith('\r')) << line.data();
    EXPECT_FALSE(bytes.contains('|'));
    // Every plain phrase line of the panel is there as it stands.
    int phrases = 0;
    for (std::int32_t k = st.TopLine; k <= st.NextLine; ++k) {
        const std::string line((*st.CurrentText)[k]);
        if (line.empty() || line[0] != ' ' || line.find('|') != std::string::npos) continue;
        ++phrases;
        EXPECT_TRUE(written.contains(QByteArray::fromStdString(line) + '\r')) << line;
    }
    EXPECT_GT(phrases, 0);

    // A folder that cannot be written: the error box naming the file, and
    // nothing else.
    const QString unwritable = home.dir.path() + QStringLiteral("/missing/panel.txt");
    f.prompter.saveName = unwritable;
    const auto top = st.TopLine, next = st.NextLine;
    f.w->SaveScreenItemClick();
    ASSERT_EQ(f.prompter.errors.size(), 1u);
    EXPECT_EQ(f.prompter.errors[0].toStdString(), "Cannot create file " + unwritable.toStdString());
    EXPECT_FALSE(QFileInfo::exists(home.dir.path() + QStringLiteral("/missing")));
    EXPECT_EQ(st.TopLine, top);
    EXPECT_EQ(st.NextLine, next);

    // Moving to another text brings back the Load Index panel.
    f.clickRow(1);
    EXPECT_FALSE(f.w->indexTree()->isVisibleTo(f.w->IndexTabSheet));
    EXPECT_EQ(f.w->indexTree()->topLevelItemCount(), 0);
    EXPECT_FALSE(f.w->PageControl2->isTabVisible(indexTab));
}

TEST(ReadingSession, TheFindDialogMovesClearOfTheLineItFound) {
    DataHome home;
    Window f;
    f.clickRow(3);  // chapter 1
    f.w->FindItemClick();
    varnet::ui::TFindDialog* dialog = f.w->findDialog();
    dialog->FindTextEdit->setText(QStringLiteral("fox"));
    auto& st = f.w->state();
    const std::int32_t top = st.TopLine, next = st.NextLine;
    const auto pressFromTheFirstPanel = [&] {
        st.TopLine = top;
        st.NextLine = next;
        f.w->FindDialog1Find();
    };

    pressFromTheFirstPanel();
    const std::int32_t found = st.SearchFound;
    const QRect line = f.w->foundLineArea();
    ASSERT_FALSE(line.isEmpty());
    // One column: the line lies below the top margin and the lines above it.
    const QPoint surfaceOrigin = f.w->Image1->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(line.top() - surfaceOrigin.y(), 5 + (found - st.TopLine) * st.LineHeight);
    EXPECT_EQ(line.height(), st.LineHeight);
    EXPECT_EQ(line.left(), surfaceOrigin.x());
    EXPECT_FALSE(dialog->frameGeometry().intersects(line));

    // The dialog over the line that the same press finds again: it moves
    // straight up or down, clear of the line and still on the screen.
    const QRect screen = dialog->screen()->availableGeometry();
    for (const int cover : {line.top() - 10, line.bottom() - dialog->frameGeometry().height() + 10}) {
        SCOPED_TRACE(cover);
        dialog->move(dialog->x(), cover);
        ASSERT_TRUE(dialog->frameGeometry().intersects(line));
        pressFromTheFirstPanel();
        ASSERT_EQ(st.SearchFound, found);
        ASSERT_EQ(f.w->foundLineArea(), line);
        EXPECT_FALSE(dialog->frameGeometry().intersects(line));
        EXPECT_TRUE(screen.contains(dialog->frameGeometry()));
        EXPECT_TRUE(dialog->isVisible());
    }
    // A dialog clear of the line stays where it is.
    const QPoint clear(dialog->x() + 7, line.bottom() + 30);
    dialog->move(clear);
    pressFromTheFirstPanel();
    ASSERT_EQ(st.SearchFound, found);
    EXPECT_EQ(dialog->pos(), clear);
}

TEST(FindDialog, PlacedClearOfAnAreaStraightAboveOrBelowIt) {
    struct Case {
        const char* name;
        QRect frame, area;
        QPoint placed;
    };
    const QRect screen(0, 0, 800, 600);
    const QRect area(20, 300, 500, 20);  // rows 300 to 319
    const std::vector<Case> cases = {
        {"nearer above", QRect(100, 250, 200, 100), area, QPoint(100, 200)},
        {"nearer below", QRect(100, 290, 200, 100), area, QPoint(100, 320)},
        {"no room above", QRect(100, 60, 200, 100), QRect(20, 50, 500, 20), QPoint(100, 70)},
        {"no room below", QRect(100, 500, 200, 100), QRect(20, 540, 500, 20), QPoint(100, 440)},
        {"room on neither side: the larger, on the screen", QRect(100, 0, 200, 500), QRect(20, 200, 500, 20),
         QPoint(100, 100)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QPoint placed = varnet::ui::TFindDialog::placeClearOf(c.frame, c.area, screen);
        EXPECT_EQ(placed, c.placed);
    }
}

TEST(Startup, SettingsFileEdgeCasesApplyThroughTheWidgets) {
    struct Case {
        const char* name;
        QByteArray file;
        int scheme;
        bool noColour, single, twoColumns;
        int fontSize;
        QRect bounds;  // outer bounds; the minimum size raises what is below it
    };
    const std::vector<Case> cases = {
        {"only background=2", "[how]\r\nbackground=2\r\n", 2, false, false, false, 15,
         QRect(100, 0, 500, 450)},
        {"no background key", "[how]\r\nfontsize=15\r\n", 1, false, false, false, 15,
         QRect(100, 0, 500, 450)},
        {"twocolor=7 clears the box", "[how]\r\ntwocolor=7\r\nbackground=0\r\n", 0, false, false, false, 15,
         QRect(100, 0, 500, 450)},
        {"fontsize=60 stops at 40", "[how]\r\nfontsize=60\r\nbackground=0\r\n", 0, false, false, false, 40,
         QRect(100, 0, 500, 450)},
        {"twocolumn=1 checks only that box", "[how]\r\ntwocolumn=1\r\nbackground=0\r\n", 0, false, false,
         true, 15, QRect(100, 0, 500, 450)},
        {"plainbkg=1 and hexadecimal bounds",
         "[x]\r\n[HOW]\r\nPlainBkg=1\r\nbackground=0\r\ntleft=0x20\r\nttop=10\r\ntwidth=640\r\ntheight="
         "480\r\n",
         0, false, true, false, 15, QRect(32, 10, 640, 480)},
        {"background=9 selects Windows", "[how]\r\nbackground=9\r\n", 2, false, false, false, 15,
         QRect(100, 0, 500, 450)},
        {"background=-3 selects nothing", "[how]\r\nbackground=-3\r\n", -1, false, false, false, 15,
         QRect(100, 0, 500, 450)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DataHome home;
        QDir().mkpath(home.folder());
        QFile ini(home.file(".ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(c.file);
        ini.close();
        Window f;
        EXPECT_EQ(f.w->bgColorItemIndex(), c.scheme);
        EXPECT_EQ(f.w->TwoColorCheckBox->isChecked(), c.noColour);
        EXPECT_EQ(f.w->SingleShadeBgCheckBox->isChecked(), c.single);
        EXPECT_EQ(f.w->TwoColCheckBox->isChecked(), c.twoColumns);
        EXPECT_EQ(f.w->FontSizeTrackBar->value(), c.fontSize);
        EXPECT_EQ(f.w->state().FontSize, c.fontSize);
        EXPECT_EQ(f.w->outerBounds(), c.bounds);
        if (c.scheme == 2) {
            EXPECT_EQ(f.w->state().SchemeColours[0][0], 0x80000005u);
        }
        if (c.scheme == -1) {
            EXPECT_EQ(f.w->state().SchemeColours[0][0], 0u);  // no scheme applied: all black
        }
        // Reading the file wrote nothing to it.
        QFile again(home.file(".ini"));
        ASSERT_TRUE(again.open(QIODevice::ReadOnly));
        EXPECT_EQ(again.readAll(), c.file);
        f.w->setOuterBounds(QRect(0, 0, QGuiApplication::primaryScreen()->geometry().width(), 480));
        QCoreApplication::processEvents();
        f.close();
    }
}

TEST(Startup, ASettingsFileThatCannotBeWrittenAtCloseIsReportedAndTheWindowCloses) {
    DataHome home;
    Window f;
    // A folder where the settings file was: every key write fails.
    QFile::remove(home.file(".ini"));
    QDir().mkpath(home.file(".ini"));
    f.w->FontSizeTrackBar->setValue(20);
    f.close();
    ASSERT_EQ(f.prompter.errors.size(), 1u);
    EXPECT_EQ(f.prompter.errors[0], QStringLiteral("Unable to write to ") + home.file(".ini"));
    EXPECT_FALSE(f.w->isVisible());
}

TEST(Startup, ResetToStartupDefaultsRewritesTheWholeFile) {
    DataHome home;
    Window f;
    const QByteArray defaults = home.read(".ini");
    f.w->setBGColorItemIndex(1);
    f.w->TwoColCheckBox->setChecked(true);
    f.w->SaveWindowSettings();
    QFile ini(home.file(".ini"));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("[extra]\r\nkey=1\r\n");
    ini.close();
    f.w->ResetToStartupDefaultsButtonClick();
    EXPECT_EQ(home.read(".ini"), defaults);
    EXPECT_EQ(f.w->bgColorItemIndex(), 0);
    EXPECT_FALSE(f.w->TwoColCheckBox->isChecked());
    EXPECT_TRUE(f.w->state().BookmarkLines && f.w->state().BookmarkLines->empty());
}

TEST(ReadingSession, TheFindDialogSearchesFromThePanelOnShow) {
    DataHome home;
    Window f;
    f.clickRow(3);
    f.w->FindItemClick();
    varnet::ui::TFindDialog* dialog = f.w->findDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->pos(), f.w->frameGeometry().topLeft() + QPoint(50, 50));
    dialog->FindTextEdit->setText(QStringLiteral("Grasshopper"));
    const auto top = f.w->state().TopLine;
    f.w->FindDialog1Find();
    EXPECT_GT(f.w->state().TopLine, top);
    EXPECT_NE(f.w->state().CurrentText->get(f.w->state().SearchFound).find("Grasshopper"), std::string::npos);
    EXPECT_FALSE(f.w->state().ReadingMoved);
    // Paging with the Next button closes the dialog first.
    f.w->NextButtonClick();
    EXPECT_FALSE(dialog->isVisible());
    // A word the book does not hold: the search runs out and closes it.
    f.w->FindItemClick();
    dialog->FindTextEdit->setText(QStringLiteral("zyzzyva"));
    f.w->FindDialog1Find();
    EXPECT_FALSE(dialog->isVisible());
}

namespace {

// A key of the section "how" as the reader reads it; -1 when it is missing.
int iniValue(const QByteArray& ini, const char* key) {
    return varnet::IniFile::readInteger(
        std::string_view(ini.constData(), static_cast<std::size_t>(ini.size())), varnet::kSettingsSection,
        key, -1);
}

QRect storedBounds(const QByteArray& ini) {
    return QRect(iniValue(ini, "tleft"), iniValue(ini, "ttop"), iniValue(ini, "twidth"),
                 iniValue(ini, "theight"));
}

}  // namespace

TEST(Shutdown, FullScreenAndMaximisedWindowsWriteTheirOptionsAndTheirNormalBounds) {
    for (const bool fullScreen : {true, false}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "maximised");
        DataHome home;
        QRect normal;
        {
            Window f;
            f.w->setOuterBounds(QRect(30, 40, 520, 480));
            QCoreApplication::processEvents();
            normal = f.w->outerBounds();
            if (fullScreen)
                f.w->showFullScreen();
            else
                f.w->showMaximized();
            ASSERT_TRUE(waitFor([&] { return f.w->outerBounds() != normal; }));
            f.w->FontSizeTrackBar->setValue(30);
            f.w->setBGColorItemIndex(0);
            f.w->SingleShadeBgCheckBox->setChecked(true);
            f.close();
        }
        const QByteArray ini = home.read(".ini");
        EXPECT_EQ(iniValue(ini, "fontsize"), 30);
        EXPECT_EQ(iniValue(ini, "background"), 0);
        EXPECT_EQ(iniValue(ini, "plainbkg"), 1);
        EXPECT_EQ(storedBounds(ini), normal);
        Window again;
        EXPECT_EQ(again.w->FontSizeTrackBar->value(), 30);
        EXPECT_EQ(again.w->outerBounds(), normal);
    }
}

TEST(Startup, StoredBoundsOffEveryScreenComeBackOntoTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* name;
        QRect stored;
        QRect expected;
    };
    const std::vector<Case> cases = {
        {"far off to the right and below, and too wide", QRect(5000, 3000, 99999, 500),
         QRect(area.left(), area.bottom() + 1 - 500, area.width(), 500)},
        {"off to the left and above", QRect(-3000, -2000, 450, 460),
         QRect(area.left(), area.top(), 450, 460)},
        {"taller than every screen", QRect(10, 20, 500, 5000), QRect(10, area.top(), 500, area.height())},
        {"on the screen: kept as it is", QRect(10, 20, 450, 460), QRect(10, 20, 450, 460)},
        {"partly off the screen, its title bar reachable: kept", QRect(area.right() - 200, 40, 450, 460),
         QRect(area.right() - 200, 40, 450, 460)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataHome home;
        home.write(".ini",
                   "[how]\r\nbackground=0\r\nfontsize=15\r\ntleft=" + QByteArray::number(c.stored.left()) +
                       "\r\nttop=" + QByteArray::number(c.stored.top()) +
                       "\r\ntwidth=" + QByteArray::number(c.stored.width()) +
                       "\r\ntheight=" + QByteArray::number(c.stored.height()) + "\r\n");
        Window f;
        EXPECT_EQ(f.w->outerBounds(), c.expected);
        f.close();
        // What closing writes back is the window as it came back.
        EXPECT_EQ(storedBounds(home.read(".ini")), c.expected);
    }
}

TEST(Startup, AFolderThatCannotBeMadeIsNamedAndTheInstructionsStayReadable) {
    // The window as a fresh start shows it, for comparison.
    std::array<varnet::SchemeRow, 2> freshColours{};
    {
        DataHome home;
        Window fresh;
        freshColours = fresh.w->state().SchemeColours;
        fresh.close();
    }
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/data");
    QFile blocker(file);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // the data home is a file
    blocker.close();
    qputenv("XDG_DATA_HOME", file.toLocal8Bit());
    Window f;
    ASSERT_EQ(f.prompter.errors.size(), 1u);
    EXPECT_EQ(f.prompter.errors[0],
              QStringLiteral("Cannot create folder ") + file + QStringLiteral("/Quorra: Not a directory"));
    EXPECT_EQ(f.w->state().FontSize, 15);
    EXPECT_EQ(f.w->state().SchemeColours, freshColours);
    EXPECT_EQ(f.w->state().NextLine, 17);  // the instructions, laid out at 15 points
    f.close();
    EXPECT_EQ(f.prompter.errors.size(), 1u);  // closing writes nothing and says nothing
}

TEST(ReadingSession, AChapterOpenedFromTheTreeKeepsItsPlaceForTheNextStart) {
    DataHome home;
    std::int32_t closedAt = 0;
    QImage closedPanel;
    {
        Window f;
        f.clickRow(5);  // chapter 3 under the title list
        for (int k = 0; k < 4; ++k) f.w->NextButtonClick();
        closedAt = f.w->state().TopLine;
        closedPanel = f.w->Image1->surface().image().copy();
        f.close();
    }
    const QByteArray bm = home.read(".bm");
    EXPECT_TRUE(bm.contains(QByteArray("<<fable\r\n#") + QByteArray::number(closedAt) + " Closed book at "))
        << bm.data();
    {
        Window f(true);
        f.clickRow(2);  // the book at its start
        ASSERT_EQ(f.prompter.questions.size(), 1u);
        EXPECT_TRUE(f.prompter.questions[0].startsWith(QStringLiteral("Closed book at ")));
        EXPECT_EQ(f.w->state().TopLine, closedAt);
        EXPECT_EQ(f.w->Image1->surface().image(), closedPanel);
        f.close();
    }
}

TEST(ReadingSession, PageDownOnTheLastPanelLeavesThePanelAndItsPlace) {
    DataHome home;
    Window f;
    f.clickRow(26);  // the last chapter
    while (f.w->NextButton->isEnabled()) f.w->NextButtonClick();
    const std::int32_t top = f.w->state().TopLine;
    const QImage panel = f.w->Image1->surface().image().copy();
    f.w->NextButtonClick();
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(f.w->Image1, &pageDown);
    EXPECT_EQ(f.w->state().TopLine, top);
    EXPECT_EQ(f.w->Image1->surface().image(), panel);
    // Saving the screen writes what is on show, not the blank after it.
    f.prompter.saveName = home.dir.path() + QStringLiteral("/last.txt");
    f.w->SaveScreenItemClick();
    QFile saved(f.prompter.saveName);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("END OF FILE"));
    f.close();
}

TEST(ReadingSession, ABookmarkPastTheEndOpensOnTheLastPanel) {
    DataHome home;
    home.write(".bm", "<<none\r\n<<fable\r\n#999999 From an older build\r\n<<author\r\n");
    Window f(true);
    f.clickRow(2);
    ASSERT_EQ(f.prompter.questions.size(), 1u);
    const std::int32_t count = f.w->state().CurrentText->count();
    EXPECT_LT(f.w->state().TopLine, count - 2);
    EXPECT_GE(f.w->state().NextLine, count - 2);
    EXPECT_FALSE(f.w->NextButton->isEnabled());
    EXPECT_TRUE(f.w->PrevButton->isEnabled());
    f.close();
}

TEST(ReadingSession, TheSameIndexReferenceJumpsAgainAfterTheReaderMovedOn) {
    DataHome home;
    Window f;
    f.clickRow(3);
    f.w->IndexLoadButtonClick();
    QTreeWidgetItem* reference = f.w->indexTree()->topLevelItem(0)->child(0)->child(0)->child(0);
    ASSERT_NE(reference, nullptr);
    f.w->indexTree()->setCurrentItem(reference);
    f.w->InxTreeViewClick();
    const std::int32_t shown = f.w->state().TopLine;
    f.w->NextButtonClick();
    f.w->NextButtonClick();
    ASSERT_NE(f.w->state().TopLine, shown);
    f.w->InxTreeViewClick();  // the same reference, after paging
    EXPECT_EQ(f.w->state().TopLine, shown);
    // And again with no move in between: nothing, not even the same panel
    // drawn anew. A mark on the surface would be painted over by any panel.
    varnet::ui::QtSurface& surface = f.w->Image1->surface();
    const varnet::Colour fill = surface.fillColour;
    surface.fillColour = varnet::rgb(1, 2, 3);
    surface.fillRect(0, 0, 8, 8);
    surface.fillColour = fill;
    const QImage marked = surface.image().copy();
    ASSERT_EQ(marked.pixelColor(0, 0), QColor(1, 2, 3));
    f.w->InxTreeViewClick();
    EXPECT_EQ(f.w->state().TopLine, shown);
    EXPECT_TRUE(surface.image() == marked) << "the surface was drawn on again";
    EXPECT_EQ(f.w->state().LastIndexEntry, reference->text(0).trimmed().toStdString());
}
