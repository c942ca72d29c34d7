// What assistive technology reads of the window: the reading surface named
// after the window caption and holding the plain words of the panel on show,
// a name on every widget, and nothing of what never shows.
#include "DesktopTestSupport.h"
#include "LineFormat.h"
#include "TForm1.h"
#include "TextFormat.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>

#include <memory>
#include <vector>

using testsupport::Window;
using varnet::ui::TForm1;

namespace {

QString readAll(QWidget* widget) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    if (!a || !a->textInterface()) return QStringLiteral("<no text interface>");
    EXPECT_EQ(a->text(QAccessible::Value), a->textInterface()->text(0, a->textInterface()->characterCount()));
    return a->textInterface()->text(0, a->textInterface()->characterCount());
}

QString nameOf(QWidget* widget) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    return a ? a->text(QAccessible::Name) : QString();
}

// The words are those of the lines on show, in order; markers are no words.
void expectPanelWords(TForm1& w, const QString& read) {
    static const QRegularExpression marker(QStringLiteral("^[a-z]?[0-9]{3,4}$"));
    const auto& st = w.state();
    int from = 0;
    int found = 0;
    for (std::int32_t line = st.TopLine; line < st.NextLine; ++line) {
        const std::string text(st.CurrentText->get(line));
        if (varnet::isAnchorLine(text) || varnet::holdsImageTag(text)) continue;
        const QString words = QString::fromLatin1(varnet::removeTags(text)).trimmed();
        if (words.isEmpty()) continue;
        if (marker.match(words).hasMatch()) {
            EXPECT_FALSE(read.contains(words)) << words.toStdString();
            continue;
        }
        const int at = static_cast<int>(read.indexOf(words, from));
        EXPECT_GE(at, from) << words.toStdString();
        if (at >= from) from = at + static_cast<int>(words.size());
        ++found;
    }
    EXPECT_GT(found, 5);
}

// Every object an assistive-technology client can reach: the accessible
// tree walked down from the application's root.
QSet<QObject*> reachableObjects() {
    QSet<QObject*> objects;
    QSet<QAccessible::Id> seen;
    std::vector<QAccessibleInterface*> todo{QAccessible::queryAccessibleInterface(qApp)};
    while (!todo.empty()) {
        QAccessibleInterface* a = todo.back();
        todo.pop_back();
        if (!a || !a->isValid() || seen.contains(QAccessible::uniqueId(a))) continue;
        seen.insert(QAccessible::uniqueId(a));
        if (QObject* o = a->object()) objects.insert(o);
        for (int k = 0; k < a->childCount(); ++k) todo.push_back(a->child(k));
    }
    return objects;
}

}  // namespace

TEST(Accessibility, TheReadingSurfaceReadsThePanelOnShow) {
    Window f;
    TForm1& w = *f.w;
    EXPECT_EQ(nameOf(w.Image1), QStringLiteral("Varnet"));
    const QString startup = readAll(w.Image1);
    EXPECT_TRUE(startup.startsWith(QStringLiteral("Select a Book\nfrom the Table of Contents")));
    EXPECT_FALSE(startup.contains(QStringLiteral("p000")));  // markers are no words

    f.clickRow(3);  // a chapter of the demo book
    ASSERT_TRUE(w.windowTitle().startsWith(QStringLiteral("Varnet -- ")));
    EXPECT_EQ(nameOf(w.Image1), w.windowTitle());
    QCoreApplication::processEvents();
    const QString chapter = readAll(w.Image1);
    w.paging().PageForward();
    QCoreApplication::processEvents();
    const QString paged = readAll(w.Image1);
    EXPECT_NE(paged, chapter);
    EXPECT_FALSE(paged.isEmpty());
    EXPECT_FALSE(paged.contains(QLatin1Char('|')));  // tags removed
    expectPanelWords(w, paged);
    // Paging back lands on an estimate; the words follow it.
    w.paging().PageBack();
    QCoreApplication::processEvents();
    EXPECT_NE(readAll(w.Image1), paged);
    expectPanelWords(w, readAll(w.Image1));
}

// A panel that ends on a full surface, not at a break: the line after it
// holds words, and they are not read, as they are not shown.
TEST(Accessibility, TheLineAfterThePanelIsNotRead) {
    Window f;
    TForm1& w = *f.w;
    w.FontSizeTrackBar->setValue(40);
    f.clickRow(3);
    const auto wordsOf = [&](std::int32_t line) {
        return QString::fromLatin1(varnet::removeTags(w.state().CurrentText->get(line))).trimmed();
    };
    bool found = false;
    for (int k = 0; k < 200 && !found; ++k) {
        const QString after = wordsOf(w.state().NextLine);
        found = after.size() > 12 && !after.startsWith(QLatin1Char('p'));
        if (!found) w.paging().PageForward();
    }
    ASSERT_TRUE(found);
    QCoreApplication::processEvents();
    const QString read = readAll(w.Image1);
    EXPECT_FALSE(read.contains(wordsOf(w.state().NextLine))) << wordsOf(w.state().NextLine).toStdString();
    EXPECT_TRUE(read.contains(wordsOf(w.state().NextLine - 1)));
}

TEST(Accessibility, TheTabRowsListTheTabsOnShowOnly) {
    Window f;
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(f.w->PageControl1->tabBar());
    ASSERT_NE(row, nullptr);
    QStringList tabs;
    for (int k = 0; k < row->childCount(); ++k)
        if (QAccessibleInterface* tab = row->child(k); tab && tab->role() == QAccessible::PageTab)
            tabs << tab->text(QAccessible::Name);
    EXPECT_EQ(tabs, (QStringList{QStringLiteral("Table Of Contents"), QStringLiteral("Reading"),
                                 QStringLiteral("About")}));
}

TEST(Accessibility, EveryWidgetHasANameAndCaptionedOnesTheirCaption) {
    Window f;
    // The trees too, which are built when first needed.
    f.w->tocTree();
    f.w->indexTree();
    const QList<QWidget*> widgets = f.w->findChildren<QWidget*>();
    int named = 0;
    for (QWidget* widget : widgets) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))) continue;
        ++named;
        EXPECT_FALSE(nameOf(widget).trimmed().isEmpty()) << widget->objectName().toStdString();
        if (auto* b = qobject_cast<QAbstractButton*>(widget); b && !b->text().isEmpty()) {
            EXPECT_EQ(nameOf(widget), b->text().trimmed()) << widget->objectName().toStdString();
        }
    }
    EXPECT_GT(named, 40);
}

// A ">" among the words, as imported books may have, is read with them; a
// line that held an image tag is not read.
TEST(Accessibility, AnglesAmongTheWordsAreReadAndImageLinesAreNot) {
    Window f;
    TForm1& w = *f.w;
    w.state().CurrentText = varnet::LineList({
        "|b>The Stage Door|n> ",
        "     The actors met at the stage>door ",
        "     each night before the play, ",
        "|image>masks.png",
        "     and one of them said: ",
        "     that the |i>stage>|n> was dark. ",
        "     The others nodded ",
        "     and went in. ",
        "END OF FILE",
        " ",
        " ",
    });
    w.state().NextLine = w.paging().ShowLine(0);
    QCoreApplication::processEvents();
    const QString read = readAll(w.Image1);
    EXPECT_TRUE(read.contains(QStringLiteral("The actors met at the stage>door"))) << read.toStdString();
    EXPECT_TRUE(read.contains(QStringLiteral("that the stage> was dark."))) << read.toStdString();
    EXPECT_FALSE(read.contains(QStringLiteral("masks"))) << read.toStdString();
    expectPanelWords(w, read);
}

// The logo's holder never shows: no client reaches it or the picture it
// holds, while the logo on the About page is listed.
TEST(Accessibility, TheHiddenLogoHolderIsNotListed) {
    Window f;
    TForm1& w = *f.w;
    const QSet<QObject*> reachable = reachableObjects();
    for (QObject* listed :
         {static_cast<QObject*>(&w), static_cast<QObject*>(w.Image1), static_cast<QObject*>(w.ProgramIcon)})
        EXPECT_TRUE(reachable.contains(listed)) << listed->objectName().toStdString();
    EXPECT_FALSE(reachable.contains(w.LogoHoldingTabSheet));
    EXPECT_FALSE(reachable.contains(w.Image3));
    // Nor does the walk from the window or any widget in it lead there.
    for (QWidget* widget : w.findChildren<QWidget*>()) {
        if (widget == w.LogoHoldingTabSheet || widget == w.Image3) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
        if (!a) continue;
        for (int k = 0; k < a->childCount(); ++k) {
            QAccessibleInterface* child = a->child(k);
            const QObject* o = child ? child->object() : nullptr;
            EXPECT_TRUE(o != w.LogoHoldingTabSheet && o != w.Image3) << widget->objectName().toStdString();
        }
    }
}
