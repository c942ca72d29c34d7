// The reader started over side files it did not write: empty, binary, 20 and
// 100 MB, larger than it reads at all, with NUL bytes or a megabyte-long
// line, unreadable by their permissions, a folder in a file's place, a link
// to a device. It starts, shows at most the design's messages, leaves a file
// it could not read as it was, and never writes through a link to a file
// that is not its own.
#include "DesktopTestSupport.h"
#include "ObeyingFilePermissions.h"
#include "TForm1.h"
#include "TreeFill.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

using testsupport::ObeyingFilePermissions;
using varnet::testing::FakePrompter;
using varnet::testing::waitFor;
using varnet::ui::TForm1;

namespace {

struct Hostile {
    const char* name;
    // Makes the hostile thing at the given path.
    std::function<void(const QString& path)> make;
    // Whether the file's permissions must hold while the reader runs.
    bool permissions = false;
    // A file the reader cannot read at all, which it must leave as it was.
    bool unreadable = false;
};

const QByteArray kUnreadable = "[how]\r\nfontsize=21\r\n<<fable\r\n#99 kept\r\n";

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray binaryJunk(int size) {
    QByteArray b(size, '\0');
    quint32 x = 2463534242u;
    for (int i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b[i] = static_cast<char>(x & 0xFF);
    }
    return b;
}

const std::vector<Hostile>& hostiles() {
    static const std::vector<Hostile> all = {
        {"empty", [](const QString& p) { writeBytes(p, {}); }},
        {"binary", [](const QString& p) { writeBytes(p, binaryJunk(64 * 1024)); }},
        {"NUL bytes",
         [](const QString& p) { writeBytes(p, QByteArray("[how]\0fontsize=9\0\r\n<<fable\0\r\n", 30)); }},
        {"a 1 MB line",
         [](const QString& p) { writeBytes(p, "[how]\r\nfontsize=" + QByteArray(1 << 20, '7') + "\r\n"); }},
        {"20 MB of lines",
         [](const QString& p) {
             QByteArray line("#12 a bookmark line that repeats\r\n");
             writeBytes(p, "<<none\r\n<<fable\r\n" + line.repeated((20 << 20) / line.size()));
         }},
        {"100 MB of lines",
         [](const QString& p) {
             QByteArray line("#12 a bookmark line that repeats\r\n");
             writeBytes(p, "[how]\r\nfontsize=17\r\n<<fable\r\n" + line.repeated((100 << 20) / line.size()));
         }},
        {"larger than the reader reads (a sparse 1 GiB)",
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             ASSERT_TRUE(f.resize(qint64(1) << 30));
         },
         false, true},
        {"unreadable by its permissions",
         [](const QString& p) {
             writeBytes(p, kUnreadable);
             ASSERT_TRUE(QFile::setPermissions(p, QFileDevice::Permissions()));
         },
         true, true},
        {"a folder in its place", [](const QString& p) { QDir().mkpath(p); }},
        {"a link to /dev/zero", [](const QString& p) { QFile::link(QStringLiteral("/dev/zero"), p); }},
        {"a dangling link", [](const QString& p) { QFile::link(p + QStringLiteral(".nowhere"), p); }},
    };
    return all;
}

}  // namespace

TEST(HostileSideFiles, TheReaderStartsRunsAndClosesOverEachOfThem) {
    for (const char* extension : {".ini", ".bm"}) {
        for (const Hostile& h : hostiles()) {
            SCOPED_TRACE(testing::Message() << extension << ": " << h.name);
            QTemporaryDir home;
            qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
            const QString folder = home.path() + QStringLiteral("/Quorra");
            QDir().mkpath(folder);
            const QString path = testsupport::sideFileName(folder, extension);
            h.make(path);
            const QFileInfo before(path);
            const QDateTime modified = before.lastModified();
            const qint64 size = before.size();

            FakePrompter prompter;
            std::unique_ptr<ObeyingFilePermissions> obeying;
            if (h.permissions) {
                obeying = std::make_unique<ObeyingFilePermissions>();
                QFile probe(path);
                ASSERT_FALSE(probe.open(QIODevice::ReadOnly)) << "the permissions do not hold";
            }
            auto w = std::make_unique<TForm1>(&prompter);
            w->show();
            ASSERT_TRUE(waitFor([&] { return w->state().CurrentText && !w->state().CurrentText->empty(); }));
            // It reads, pages, opens a book at its start and a chapter, and
            // drops the Bookmarks menu down, without hanging.
            w->NextButtonClick();
            // Only a start-up that ended early, with its message, leaves the
            // contents tree empty.
            if (QTreeWidgetItem* book = varnet::ui::itemAtAbsoluteIndex(w->tocTree(), 2)) {
                w->tocTree()->setCurrentItem(book);
                w->state().TreeToggled = false;
                w->TOCTreeViewClick();
                w->NextButtonClick();
            } else {
                EXPECT_EQ(prompter.errors.size(), 1u);
            }
            w->BMMenuClick();
            w->close();
            QCoreApplication::processEvents();
            w.reset();
            obeying.reset();

            // Only the design's messages, each with the file it is about.
            for (const QString& e : prompter.errors)
                EXPECT_TRUE(e.startsWith(QStringLiteral("Cannot create file ")) ||
                            e.startsWith(QStringLiteral("Cannot read file ")) ||
                            e.startsWith(QStringLiteral("Unable to write to ")) ||
                            e.contains(QStringLiteral("is not a valid integer value")))
                    << e.toStdString();
            // /dev/zero is never written through: the link itself was
            // replaced or left, and the device is untouched.
            // A file it could not read is left as it was, never replaced by
            // what the reader made up without it.
            if (h.unreadable) {
                const QFileInfo after(path);
                EXPECT_EQ(after.size(), size);
                EXPECT_EQ(after.lastModified(), modified);
            }
            if (h.permissions) {
                QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
                QFile f(path);
                ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                EXPECT_EQ(f.readAll(), kUnreadable);
            }
            if (QString(h.name).contains(QStringLiteral("link"))) {
                const QFileInfo info(path);
                EXPECT_TRUE(!info.exists() || info.isSymLink() || info.isFile());
            }
        }
    }
    QFileInfo zero(QStringLiteral("/dev/zero"));
    EXPECT_FALSE(zero.isFile());
}

// A bookmark file that is there but cannot be read holds every bookmark of
// every book: adding, deleting and the closing bookmark must never replace
// it with the few lines the reader has in memory.
TEST(HostileSideFiles, ABookmarkFileThatCannotBeReadIsNeverWritten) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
        bool permissions;
        // Readable when the menu drops down and lists its bookmarks, taken
        // out of reach before Delete and Go To.
        bool lostAfterListing = false;
    };
    const auto readableBookmarks = [](const QString& p) {
        writeBytes(p, "<<none\r\n<<fable\r\n#99 kept\r\n<<title\r\n");
    };
    const std::vector<Case> cases = {
        {"unreadable by its permissions",
         [](const QString& p) {
             writeBytes(p, kUnreadable);
             ASSERT_TRUE(QFile::setPermissions(p, QFileDevice::Permissions()));
         },
         true},
        {"larger than the reader reads",
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("<<fable\r\n#99 kept\r\n");
             ASSERT_TRUE(f.resize(qint64(300) << 20));
         },
         false},
        {"unreadable once its bookmarks are listed", readableBookmarks, true, true},
    };
    // Read past the permissions a case set, which are put back after, so
    // that the check holds for any user the tests run as.
    const auto digest = [](const QString& path) {
        namespace fs = std::filesystem;
        const fs::path file = path.toStdString();
        const fs::perms set = fs::status(file).permissions();
        fs::permissions(file, set | fs::perms::owner_read);
        QFile f(path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        const bool read = f.open(QIODevice::ReadOnly) && hash.addData(&f);
        f.close();
        fs::permissions(file, set);
        return read ? hash.result() : QByteArray();
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        const QString folder = home.path() + QStringLiteral("/Quorra");
        QDir().mkpath(folder);
        const QString path = testsupport::sideFileName(folder, ".bm");
        c.make(path);
        const QByteArray bytes = digest(path);
        ASSERT_FALSE(bytes.isEmpty());
        const QDateTime modified = QFileInfo(path).lastModified();
        const QString cannotRead = QStringLiteral("Cannot read file ") + path;

        std::unique_ptr<ObeyingFilePermissions> obeying;
        if (c.permissions) obeying = std::make_unique<ObeyingFilePermissions>();
        testsupport::StartedWindow f;
        TForm1& w = *f.w;
        f.prompter.nameToGive = QStringLiteral("Lion");
        f.clickRow(3);  // a chapter: its bookmark lines are loaded on opening
        w.NextButtonClick();
        EXPECT_TRUE(f.prompter.errors.empty());
        std::vector<QString> expected;

        w.BMMenuClick();  // the menu drops down
        EXPECT_EQ(w.BMDeleteItem->isEnabled(), c.lostAfterListing);
        EXPECT_EQ(w.BMGOItem->isEnabled(), c.lostAfterListing);
        if (c.lostAfterListing) {
            ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
        } else {
            w.BMAddItemClick();
            expected.push_back(cannotRead);
            EXPECT_EQ(f.prompter.errors, expected);
        }
        // Each popup offers what the drop-down listed; its first item is
        // chosen.
        const auto chooseFirst = [&](const char* step) {
            QStringList offered;
            // A timer of this step's own: it cannot fire after the step
            // when no popup came.
            QTimer pick;
            pick.setSingleShot(true);
            QObject::connect(&pick, &QTimer::timeout, &w, [&] {
                if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    for (QAction* a : popup->actions()) offered << a->text();
                    popup->setActiveAction(popup->actions().front());
                    QTest::keyClick(popup, Qt::Key_Return);
                }
            });
            pick.start(50);
            if (std::string_view(step) == "delete")
                w.BMDeleteItemClick();
            else
                w.BMGOItemClick();
            return offered;
        };
        const std::int32_t top = w.state().TopLine;
        const QStringList listed = c.lostAfterListing ? QStringList{QStringLiteral("kept")} : QStringList();
        EXPECT_EQ(chooseFirst("delete"), listed);
        if (c.lostAfterListing) expected.push_back(cannotRead);  // one message, nothing written
        EXPECT_EQ(f.prompter.errors, expected);
        // The menu drops down again over the file it cannot read: nothing is
        // listed, so Go To offers nothing and goes nowhere.
        w.BMMenuClick();
        EXPECT_FALSE(w.BMGOItem->isEnabled());
        EXPECT_EQ(chooseFirst("go to"), QStringList());
        EXPECT_EQ(f.prompter.errors, expected);
        EXPECT_EQ(w.state().TopLine, top);

        f.close();  // the closing bookmark is due: one message, no write
        expected.push_back(cannotRead);
        EXPECT_EQ(f.prompter.errors, expected);
        f.w.reset();
        obeying.reset();

        EXPECT_EQ(QFileInfo(path).lastModified(), modified);
        EXPECT_EQ(digest(path), bytes);  // byte for byte as it was
        // Nothing was left beside it either.
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
    }
}
