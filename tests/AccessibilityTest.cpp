// What assistive technology reads of the window: the reading surface named
// after the window caption and holding the plain words of the panel on show,
// and a name on every widget.
#include "DesktopTestSupport.h"
#include "TForm1.h"
#include "TextFormat.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>

#include <memory>

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
        const std::string& text = st.CurrentText->get(line);
        if (varnet::isAnchorLine(text) || text.find("age>") != std::string::npos) continue;
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

TEST(Accessibility, EveryWidgetHasANameAndCaptionedOnesTheirCaption) {
    Window f;
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
