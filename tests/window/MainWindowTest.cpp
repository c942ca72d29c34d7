#include "BuiltinTexts.h"
#include "DeferredIconStyle.h"
#include "MessageBoxPrompter.h"
#include "QtSurface.h"
#include "TForm1.h"
#include "TForm4.h"
#include "TreeFill.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using varnet::testing::FakePrompter;
using varnet::testing::waitFor;
using varnet::ui::TForm1;

namespace {

// A shown main window after its first activation.
struct Window {
    FakePrompter prompter;
    std::unique_ptr<TForm1> w = std::make_unique<TForm1>(&prompter);

    Window() {
        w->show();
        EXPECT_TRUE(waitFor([&] { return w->state().CurrentText && w->state().CurrentText->count() == 19; }));
    }
    // Outer bounds, the frame included.
    void resizeTo(int width, int height) {
        w->setOuterBounds(QRect(w->outerBounds().topLeft(), QSize(width, height)));
        QCoreApplication::processEvents();
    }
    QColor readingPixel(int x, int y) const { return w->Image1->surface().image().pixelColor(x, y); }
};

TEST(MainWindow, StartupShowsTheInstructionsOnBandZero) {
    Window f;
    const auto& st = f.w->state();
    EXPECT_EQ(st.TopLine, 0);
    EXPECT_EQ(st.NextLine, 17);
    EXPECT_EQ(f.w->PosLabel->text(), QStringLiteral("0 of 0 panels"));
    EXPECT_FALSE(f.w->NextButton->isEnabled());
    EXPECT_FALSE(f.w->PrevButton->isEnabled());
    EXPECT_EQ(f.w->PageControl1->currentWidget(), f.w->AboutTabSheet);
    EXPECT_EQ(f.w->PageControl2->currentWidget(), f.w->ControlsTabSheet);
    EXPECT_EQ(f.w->FontSizeLabel->text(), QStringLiteral("Font Size = 15"));

    // The surface was drawn at the Reading page's size, on band 0 of the
    // light scheme, with the first instruction lines written on it.
    EXPECT_EQ(f.w->Image1->size(), f.w->ReadTabSheet->size());
    EXPECT_EQ(f.readingPixel(2, 2), QColor(227, 188, 159));
    int dark = 0;
    for (int y = 5 + st.LineHeight; y < 5 + 2 * st.LineHeight; ++y)
        for (int x = 0; x < 150; ++x)
            if (f.readingPixel(x, y).lightness() < 80) ++dark;
    EXPECT_GT(dark, 50) << "no text drawn for \"Select a Book\"";
}

// The first screen shows neither tree, so neither is built for it; the
// contents tree comes with its page, as start-up left it: every catalogue
// row, the root and "Listed by Author" open, the root selected.
TEST(MainWindow, TheTreesAreBuiltWhenTheirPagesFirstShow) {
    Window f;
    TForm1& w = *f.w;
    EXPECT_EQ(w.TOCTreeView, nullptr);
    EXPECT_EQ(w.InxTreeView, nullptr);
    EXPECT_EQ(w.selectedNodeIndex(), std::optional<std::int32_t>(0));

    w.PageControl1->setCurrentWidget(w.TOCTabSheet);
    QTreeWidget* tree = w.TOCTreeView;
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(tree->isVisible());
    EXPECT_EQ(tree->geometry(), w.TOCTabSheet->rect());
    EXPECT_EQ(tree->accessibleName(), QStringLiteral("Table Of Contents"));
    int rows = 0;
    QStringList open;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++rows)
        if ((*it)->isExpanded()) open << (*it)->text(0).trimmed();
    EXPECT_EQ(rows, 54);
    ASSERT_EQ(open.size(), 2);
    EXPECT_EQ(varnet::ui::absoluteIndex(tree, tree->currentItem()), 0);
    EXPECT_TRUE(open[1].startsWith(QStringLiteral("Listed by Author"))) << open[1].toStdString();
    EXPECT_EQ(w.tocTree(), tree);  // built once
    EXPECT_EQ(w.InxTreeView, nullptr);
}

TEST(MainWindow, LaterActivationsAddNothing) {
    Window f;
    const auto before = *f.w->state().CurrentText;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(f.w.get(), &activate);
    f.w->FormActivate();
    QCoreApplication::processEvents();
    EXPECT_EQ(*f.w->state().CurrentText, before);
    EXPECT_EQ(f.w->state().TopLine, 0);
}

TEST(MainWindow, LayoutFollowsTheClientSizeAndTheControlPanel) {
    const struct {
        int width;
        bool hidden;
    } cases[] = {{400, false}, {400, true}, {729, false}, {729, true}, {300, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << (c.hidden ? ", panel hidden" : ""));
        Window f;
        TForm1& w = *f.w;
        f.resizeTo(c.width, 470);
        if (c.hidden) w.HideControlPanelItemClick();
        EXPECT_EQ(w.outerBounds().width(), std::max(c.width, 400));  // the minimum size holds
        EXPECT_EQ(w.HideControlPanelItem->isVisible(), !c.hidden);
        EXPECT_EQ(w.ShowControlPanelItem->isVisible(), c.hidden);

        const QWidget* client = w.centralWidget();
        const int cw = client->width(), ch = client->height();
        const int panel = c.hidden ? 0 : 200;
        EXPECT_EQ(w.PageControl1->geometry(), QRect(0, 0, cw - panel, ch));
        EXPECT_EQ(w.PageControl2->geometry(), QRect(cw - panel, 0, panel, ch));

        const int s = (cw - panel) / 2;
        EXPECT_EQ(w.ProgramIcon->geometry(), QRect(0, 0, s, s));
        EXPECT_EQ(w.Memo1->geometry(), QRect(s, 0, s, s));
        EXPECT_EQ(w.OKButton->pos(), QPoint(s - 37, s + 8));
        EXPECT_EQ(w.DemoVerLabel->pos(), QPoint((cw - panel - 265) / 2, s + 41));
        EXPECT_EQ(w.BookTitleLabel->pos(), QPoint((cw - panel - 265) / 2, s + 82));
        EXPECT_EQ(w.BuyMemo->geometry().topLeft(), QPoint(0, s + 99));
        EXPECT_EQ(w.BuyMemo->width(), cw - panel - 8);
        EXPECT_EQ(w.BuyMemo->document()->blockCount(), 1);
        EXPECT_TRUE(w.BuyMemo->toPlainText().contains(QStringLiteral("https://quorra.example.com")));
        // The reading surface keeps the Reading page's size though the page is not in front.
        EXPECT_EQ(w.ReadTabSheet->size(), w.AboutTabSheet->size());
        EXPECT_EQ(w.Image1->size(), w.ReadTabSheet->size());
        EXPECT_EQ(w.state().NextLine, 17);

        if (c.hidden) {
            w.ShowControlPanelItemClick();
            EXPECT_EQ(w.PageControl2->geometry(), QRect(cw - 200, 0, 200, ch));
            EXPECT_EQ(w.ProgramIcon->width(), (cw - 200) / 2);
            EXPECT_TRUE(w.HideControlPanelItem->isVisible());
            EXPECT_FALSE(w.ShowControlPanelItem->isVisible());
        }
    }
}

TEST(MainWindow, OpeningTheHelpMenuShowsTheReadmeBoxEachTime) {
    Window f;
    for (int k = 0; k < 2; ++k) {
        f.w->HempMenu->popup(QPoint(10, 10));
        QCoreApplication::processEvents();
        f.w->HempMenu->hide();
    }
    ASSERT_EQ(f.prompter.notices.size(), 2u);
    for (const QString& notice : f.prompter.notices)
        EXPECT_EQ(notice, QStringLiteral("The complete Readme/Help file is at:\r"
                                         "https://quorra.example.com/varnet/readme.htm"));
}

TEST(MainWindow, PageKeysPageFromEveryWidgetAndOtherKeysReachTheWidget) {
    Window f;
    TForm1& w = *f.w;
    const auto press = [](QWidget* target, int key, const QString& text = {}) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        return QApplication::sendEvent(target, &down);
    };
    w.PageControl1->setCurrentWidget(w.TOCTabSheet);
    QTreeWidgetItem* root = w.tocTree()->currentItem();
    press(w.tocTree(), Qt::Key_Down);
    EXPECT_NE(w.tocTree()->currentItem(), root);  // the tree moved

    w.tocTree()->setCurrentItem(varnet::ui::itemAtAbsoluteIndex(w.tocTree(), 3));
    w.TOCTreeViewClick();
    const std::int32_t next = w.state().NextLine;
    press(w.tocTree(), Qt::Key_PageDown);
    EXPECT_EQ(w.state().TopLine, next);
    press(w.tocTree(), Qt::Key_PageUp);
    EXPECT_LT(w.state().TopLine, next);
}

TEST(MainWindow, OptionWidgetsRunTheirHandlersWhenSetFromCode) {
    Window f;
    TForm1& w = *f.w;
    w.setBGColorItemIndex(1);  // Dark Colored
    EXPECT_EQ(f.readingPixel(2, 2), QColor(57, 47, 70));
    w.setBGColorItemIndex(-1);
    EXPECT_EQ(w.bgColorItemIndex(), -1);
    EXPECT_EQ(w.BGColorButtons->checkedButton(), nullptr);
    w.setBGColorItemIndex(0);
    EXPECT_EQ(f.readingPixel(2, 2), QColor(227, 188, 159));

    w.TwoColorCheckBox->setChecked(true);
    EXPECT_EQ(w.state().SchemeColours[0][8], w.state().SchemeColours[0][3]);

    w.FontSizeTrackBar->setValue(23);
    EXPECT_EQ(w.FontSizeLabel->text(), QStringLiteral("Font Size = 23"));
    EXPECT_EQ(w.state().FontSize, 23);
    EXPECT_EQ(w.FontSizeUpDown->value(), 23);
    EXPECT_EQ(w.tocTree()->font().pixelSize(), 31);
    w.FontSizeUpDown->setValue(24);  // a step of the spinner moves the track bar
    EXPECT_EQ(w.FontSizeTrackBar->value(), 24);
    EXPECT_EQ(w.state().FontSize, 24);
}

}  // namespace

// The real boxes and dialogs, answered from inside their modal loops.
TEST(MainWindow, TheResumeQuestionStandsInTheBoxBodyToo) {
    varnet::ui::MessageBoxPrompter boxes(nullptr);
    QString body, informative, title;
    bool found = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        found = box != nullptr;
        if (!found) {
            // Whatever came up instead is closed, so the test cannot hang.
            if (QWidget* other = QApplication::activeModalWidget()) other->close();
            return;
        }
        body = box->text();
        informative = box->informativeText();
        title = box->windowTitle();
        box->button(QMessageBox::Yes)->click();
    });
    const QString question = QStringLiteral("Do you want to start reading where you last closed the file?");
    EXPECT_TRUE(boxes.question(QStringLiteral("Closed book at 3/7/01 9:05:44 PM"), question));
    ASSERT_TRUE(found);
    EXPECT_EQ(title, question);
    EXPECT_EQ(body, QStringLiteral("Closed book at 3/7/01 9:05:44 PM"));
    EXPECT_EQ(informative, question);
}

TEST(MainWindow, EscapeCancelsTheBookmarkNameDialogWhileOkAndTheCloseBoxAdd) {
    TForm4 dialog;
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral(" "));  // a blank the first time
    const auto answer = [&](std::function<void()> close) {
        QTimer::singleShot(0, [&dialog, close] {
            dialog.Edit1->setText(QStringLiteral("Lion"));
            close();
        });
        return dialog.askName();
    };
    EXPECT_EQ(answer([&] { QTest::keyClick(dialog.Edit1, Qt::Key_Escape); }), std::nullopt);
    EXPECT_EQ(answer([&] { dialog.Button1->click(); }), QStringLiteral("Lion"));
    EXPECT_EQ(answer([&] { dialog.close(); }), QStringLiteral("Lion"));  // the close box
    // Enter does not close it; OK then does.
    EXPECT_EQ(answer([&] {
                  QTest::keyClick(dialog.Edit1, Qt::Key_Return);
                  EXPECT_TRUE(dialog.isVisible());
                  dialog.Button1->click();
              }),
              QStringLiteral("Lion"));
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("Lion"));  // kept for the next use
}

// At start and again once a text with a word index has shown the Index tab.
TEST(MainWindow, EveryTabStaysInViewAtTheMinimumSize) {
    Window f;
    TForm1& w = *f.w;
    f.resizeTo(400, 450);
    ASSERT_LE(w.PageControl1->width(), 200);
    for (const bool indexed : {false, true}) {
        SCOPED_TRACE(indexed ? "with the Index tab" : "at start");
        if (indexed) {
            w.tocTree()->setCurrentItem(varnet::ui::itemAtAbsoluteIndex(w.tocTree(), 3));
            w.TOCTreeViewClick();  // a chapter of the demo book, which has a word index
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(w.PageControl2->isTabVisible(w.PageControl2->indexOf(w.IndexTabSheet)), indexed);
        int checked = 0;
        for (QTabWidget* pages : {w.PageControl1, w.PageControl2}) {
            QTabBar* bar = pages->tabBar();
            for (int k = 0; k < pages->count(); ++k) {
                if (!pages->isTabVisible(k)) continue;
                SCOPED_TRACE(pages->tabText(k).toStdString());
                ++checked;
                const QRect tab = bar->tabRect(k);
                EXPECT_GE(tab.left(), 0);
                EXPECT_LE(tab.right(), bar->width() - 1);
                EXPECT_GE(tab.width(), 40);  // room for a readable start of the caption
                EXPECT_EQ(pages->tabToolTip(k), pages->tabText(k));
            }
        }
        EXPECT_EQ(checked, indexed ? 6 : 5);
    }
}

TEST(MainWindow, TheAuthorEntryFitsTheReadingSurfaceAtTheStartingSize) {
    Window f;
    TForm1& w = *f.w;
    QFont bold(QString::fromLatin1(varnet::kSerifFace));
    bold.setPixelSize(varnet::ui::QtSurface::pointsToPixels(15));
    bold.setBold(true);
    const QString line = QStringLiteral("    ") + QString::fromLatin1(varnet::demoBookInfo().authorEntry);
    EXPECT_LT(QFontMetrics(bold).horizontalAdvance(line) + 10, w.Image1->width());
}

// The logo is rendered at build time; what the program shows is what
// rendering its SVG on white gives, pixel for pixel, at one and two device
// pixels per logical pixel.
TEST(MainWindow, TheBuiltInLogoIsItsSvgRenderedOnWhite) {
    QSvgRenderer svg(QStringLiteral(VARNET_LOGO_SVG));
    ASSERT_TRUE(svg.isValid());
    for (const int pixels : {200, 400}) {
        SCOPED_TRACE(pixels);
        QImage expected(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::white);
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::Antialiasing, true);
        svg.render(&painter, QRectF(0, 0, pixels, pixels));
        painter.end();
        const QImage built = varnet::ui::builtInLogo(pixels);
        ASSERT_FALSE(built.isNull());
        EXPECT_EQ(built.convertToFormat(QImage::Format_RGB32),
                  expected.convertToFormat(QImage::Format_RGB32));
    }
    Window f;  // and the About page's picture is drawn from it
    const QImage& logo = f.w->Image3->surface().image();
    EXPECT_EQ(logo.size(), QSize(200, 200) * logo.devicePixelRatio());
    EXPECT_NE(logo.pixelColor(100, 100), QColor(Qt::white));
    // The About page's icon shows that picture at the icon's size: the
    // emblem's flat blue above the lantern lands where it should.
    const int s = f.w->ProgramIcon->width();
    ASSERT_GT(s, 100);
    const QImage& icon = f.w->ProgramIcon->surface().image();
    const QColor blue = logo.pixelColor((QPointF(100, 20) * logo.devicePixelRatio()).toPoint());
    EXPECT_NE(blue, QColor(Qt::white));
    EXPECT_EQ(icon.pixelColor((QPointF(s / 2.0, s / 10.0) * icon.devicePixelRatio()).toPoint()), blue);
}

// The first screen is the same whenever the desktop activates the window:
// the font-size slider looks the same before and after activation.
TEST(MainWindow, TheSliderLooksTheSameActiveOrNot) {
    FakePrompter prompter;
    TForm1 w(&prompter);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return w.isActiveWindow(); }));
    const QImage active = w.FontSizeTrackBar->grab().toImage();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(waitFor([&] { return !w.isActiveWindow(); }));
    EXPECT_EQ(w.FontSizeTrackBar->grab().toImage(), active);
    w.close();
}

// The menu bar's extension arrows come from the program's style as icons
// that load when drawn; drawn, they are the wrapped style's own pictures, and
// every other standard icon is the wrapped style's at once.
TEST(DeferredIconStyleTest, ExtensionArrowsDrawAsTheWrappedStylesIcons) {
    varnet::ui::DeferredIconStyle style;
    QStyle* plain = style.baseStyle();
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_ArrowRight}) {
        SCOPED_TRACE(static_cast<int>(which));
        const QIcon expected = plain->standardIcon(which);
        const QIcon icon = style.standardIcon(which);
        ASSERT_FALSE(expected.isNull());
        EXPECT_FALSE(icon.isNull());
        for (const QSize size : {QSize(16, 16), QSize(32, 32)}) {
            EXPECT_EQ(icon.actualSize(size), expected.actualSize(size));
            EXPECT_EQ(icon.pixmap(size).toImage(), expected.pixmap(size).toImage());
            EXPECT_EQ(icon.pixmap(size, QIcon::Disabled).toImage(),
                      expected.pixmap(size, QIcon::Disabled).toImage());
        }
    }
}
