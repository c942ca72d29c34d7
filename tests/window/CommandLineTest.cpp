// The reader started with a text named on its command line, and a further
// argument that is ignored: the text opens inside start-up, its resume offer
// comes before the window shows, and the first activation keeps the panel
// that opening chose. This program's own main gives the reader its command
// line.
#include "DesktopTestSupport.h"
#include "TForm1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::DataHome;
using varnet::testing::FakePrompter;
using varnet::testing::waitFor;
using varnet::ui::TForm1;

namespace {

// Records whether any window was on screen when the question came.
class WatchingPrompter : public FakePrompter {
public:
    bool question(const QString& text, const QString& title) override {
        for (QWidget* w : QApplication::topLevelWidgets())
            shownAtQuestion = shownAtQuestion || w->isVisible();
        return FakePrompter::question(text, title);
    }
    bool shownAtQuestion = false;
};

}  // namespace

TEST(CommandLine, TheFirstArgumentOpensItsTextAndTheAnswerToTheOfferHolds) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        DataHome home;
        home.write(".bm", "<<none\r\n<<title\r\n<<fable\r\n#1234 Lion\r\n<<author\r\n");

        WatchingPrompter prompter;
        prompter.answer = yes;
        TForm1 w(&prompter);
        ASSERT_EQ(prompter.questions.size(), 1u);  // asked inside start-up
        EXPECT_EQ(prompter.questions[0], QStringLiteral("Lion"));
        EXPECT_FALSE(prompter.shownAtQuestion);
        EXPECT_EQ(w.state().BookKey, "fable");  // the second argument is ignored
        const std::int32_t lines = w.state().CurrentText->count();

        w.show();
        // Only the first activation brings the Control page forward.
        ASSERT_TRUE(waitFor([&] { return w.PageControl2->currentWidget() == w.ControlsTabSheet; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(w.state().TopLine, yes ? 1234 : 0);
        EXPECT_EQ(w.state().CurrentText->count(), lines);  // no instructions after the book
        w.close();
        QCoreApplication::processEvents();
    }
}

// A closing bookmark past the text's end (a hand edit, an older file) opens
// on the last panel even though the text is opened before the window has its
// size.
TEST(CommandLine, ABookmarkPastTheEndOpensOnTheLastPanelOnceTheWindowIsLaidOut) {
    DataHome home;
    home.write(".bm", "<<none\r\n<<title\r\n<<fable\r\n#999999 Far\r\n<<author\r\n");
    WatchingPrompter prompter;
    prompter.answer = true;
    TForm1 w(&prompter);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.PageControl2->currentWidget() == w.ControlsTabSheet; }));
    QCoreApplication::processEvents();
    const std::int32_t count = w.state().CurrentText->count();
    EXPECT_LT(w.state().TopLine, count - 2);
    EXPECT_GE(w.state().NextLine, count - 2);
    EXPECT_TRUE(w.PrevButton->isEnabled());
    w.close();
    QCoreApplication::processEvents();
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    char book[] = "fable.qtx";
    char ignored[] = "title.qtx";
    char* args[] = {argv[0], book, ignored, nullptr};
    int count = 3;
    QApplication app(count, args);
    QCoreApplication::setApplicationName(QStringLiteral("Mirrowen"));
    return RUN_ALL_TESTS();
}
