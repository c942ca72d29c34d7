// A full disk for real: the data folder on a small memory file system that is
// filled to the last byte before the reader runs. Closing the window must
// show the design's message for each side file it could not write, leave
// both files exactly as they were, and leave no half-written file behind.
// Mounting needs root; elsewhere the test is skipped (the injected write
// failures of the storage tests cover the same paths).
#include "DesktopTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <vector>

using testsupport::sideFileName;
using testsupport::StartedWindow;

namespace {

// A small memory file system mounted on a temporary folder while alive.
class SmallMount {
public:
    SmallMount() {
        mounted_ = ::mount("tmpfs", dir_.path().toLocal8Bit().constData(), "tmpfs", 0, "size=256k") == 0;
        if (!mounted_) why_ = std::strerror(errno);
    }
    ~SmallMount() {
        if (mounted_) ::umount2(dir_.path().toLocal8Bit().constData(), MNT_DETACH);
    }
    SmallMount(const SmallMount&) = delete;
    SmallMount& operator=(const SmallMount&) = delete;
    bool mounted() const { return mounted_; }
    const char* why() const { return why_; }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    const char* why_ = "";
};

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Writes a filler file until the file system refuses another byte.
void fillUp(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (f.write(block) == block.size()) {
    }
    while (f.write("x", 1) == 1) {
    }
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

}  // namespace

namespace {

// A data folder on a memory file system filled to the last byte, holding
// settings and bookmark files written before it filled.
struct FullDataHome {
    SmallMount disk;
    QString folder, ini, bm;
    const QByteArray oldIni =
        "[old.toc]\r\n[how]\r\nfontsize=17\r\nbackground=0\r\ntleft=10\r\nttop=10\r\ntwidth=640\r\ntheight="
        "600\r\n";
    const QByteArray oldBm = "<<none\r\n<<title\r\n<<fable\r\n<<author\r\n";

    bool ready() {
        if (!disk.mounted()) return false;
        qputenv("XDG_DATA_HOME", disk.path().toLocal8Bit());
        folder = disk.path() + QStringLiteral("/Quorra");
        EXPECT_TRUE(QDir().mkpath(folder));
        ini = sideFileName(folder, ".ini");
        bm = sideFileName(folder, ".bm");
        writeBytes(ini, oldIni);
        writeBytes(bm, oldBm);
        fillUp(disk.path() + QStringLiteral("/filler"));
        return true;
    }
    // Both files as they were, and nothing half-written beside them.
    void expectUnchanged() const {
        EXPECT_EQ(contents(ini), oldIni);
        EXPECT_EQ(contents(bm), oldBm);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  (QStringList{QFileInfo(bm).fileName(), QFileInfo(ini).fileName()}));
    }
    // How many of the messages are about each file; any other is a failure.
    std::pair<int, int> count(const std::vector<QString>& errors) const {
        const QString unableIni = QStringLiteral("Unable to write to ") + ini;
        // The bookmark file is saved whole, and its save reports as a file
        // that could not be created.
        const QString unableBm = QStringLiteral("Cannot create file ") + bm;
        int iniMessages = 0, bmMessages = 0;
        for (const QString& e : errors) {
            if (e == unableIni)
                ++iniMessages;
            else if (e == unableBm)
                ++bmMessages;
            else
                ADD_FAILURE() << "unexpected message: " << e.toStdString();
        }
        return {iniMessages, bmMessages};
    }
};

}  // namespace

TEST(FullDisk, ClosingOnAFullDiskShowsTheMessagesAndKeepsBothFiles) {
    FullDataHome home;
    if (!home.ready()) GTEST_SKIP() << "cannot mount a memory file system here: " << home.disk.why();
    std::vector<QString> errors;
    {
        StartedWindow f;
        f.prompter.nameToGive = QStringLiteral("Lion");
        f.clickRow(5);
        f.w->NextButtonClick();
        // Adding a bookmark on the full disk fails with the message too.
        f.w->BMMenuClick();
        f.w->BMAddItemClick();
        f.w->NextButtonClick();
        f.w->FontSizeTrackBar->setValue(f.w->FontSizeTrackBar->value() + 2);  // a setting to save
        f.close();
        errors = f.prompter.errors;
    }
    const auto [iniMessages, bmMessages] = home.count(errors);
    EXPECT_EQ(iniMessages, 1);
    EXPECT_EQ(bmMessages, 2);  // the bookmark added, then the closing bookmark
    home.expectUnchanged();
}

// The welcome page has no section of its own in the file: opening it and
// closing each try to add the header, and each failure is shown once; the
// closing bookmark stops at the failed header.
TEST(FullDisk, ATextWithoutASectionGivesOneMessageAtClose) {
    FullDataHome home;
    if (!home.ready()) GTEST_SKIP() << "cannot mount a memory file system here: " << home.disk.why();
    StartedWindow f;
    f.clickRow(3);  // a chapter first: its book has a section
    f.clickRow(0);  // then the welcome page
    ASSERT_EQ(f.w->state().BookKey, "none");
    EXPECT_EQ(home.count(f.prompter.errors), std::make_pair(0, 1));  // its header could not be added
    f.w->NextButtonClick();
    f.prompter.errors.clear();
    f.close();
    EXPECT_EQ(home.count(f.prompter.errors), std::make_pair(1, 1));
    home.expectUnchanged();
}
