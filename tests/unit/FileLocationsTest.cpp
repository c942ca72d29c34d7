#include "FileLocations.h"
#include "SettingsFile.h"

#include "FileBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace varnet;
namespace fs = std::filesystem;
using varnet::testing::contents;
using varnet::testing::put;
using varnet::testing::TempFolder;

namespace {

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_ino;
}

}  // namespace

TEST(FileLocationsTest, FolderAndBaseNameFromProgramPath) {
    struct Case {
        const char* program;
        const char* folder;
        const char* base;
    };
    const std::vector<Case> cases = {
        {"/usr/lib/varnet/varnet", "/usr/lib/varnet/", "varnet"},
        {"/home/u/.local/bin/Reader.Bin.x", "/home/u/.local/bin/", "reader"},
        {"/home/u/.local/bin/varnet", "/home/u/.local/bin/", "varnet"},
        {"/Opt/Books.2000/READER", "/Opt/Books.2000/", "reader"},
        {"/opt/Z\xC4hler.Run", "/opt/", "z\xC4hler"},  // only A to Z are lowered
        {"/opt/.hidden", "/opt/", ""},
        {"varnet", "", "varnet"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(bookFolderFrom(c.program), c.folder);
        EXPECT_EQ(baseNameFrom(c.program), c.base);
    }
}

TEST(FileLocationsTest, DataFolderRule) {
    TempFolder dir;

    const std::string missing = dir / "share/deeper/Quorra";
    ASSERT_TRUE(applyDataFolderRule(missing));
    EXPECT_TRUE(fs::is_directory(missing));

    // A folder standing there is left as it is.
    put(missing + "/varnet.ini", "kept");
    ASSERT_TRUE(applyDataFolderRule(missing));
    EXPECT_EQ(contents(missing + "/varnet.ini"), "kept");

    // So is a file: no creation is attempted.
    const std::string file = dir / "file";
    put(file, "a file");
    ASSERT_TRUE(applyDataFolderRule(file));
    EXPECT_EQ(contents(file), "a file");

    const FileResult underFile = applyDataFolderRule(file + "/Quorra");
    EXPECT_FALSE(underFile.ok);
    EXPECT_EQ(underFile.error, "Not a directory");
    const FileResult deepUnderFile = applyDataFolderRule(file + "/share/Quorra");
    EXPECT_FALSE(deepUnderFile.ok);
    EXPECT_EQ(deepUnderFile.error, "Not a directory");
    EXPECT_EQ(contents(file), "a file");
}

namespace {

// A book folder and a data folder for one program named "Varnet.bin".
struct Install {
    TempFolder dir;
    std::string book = dir / "lib/";
    std::string data = dir / "Quorra";
    ReaderState state;

    Install() {
        fs::create_directories(book);
        fs::create_directories(data);
        state.BookFolder = bookFolderFrom(book + "Varnet.bin");
        state.BaseName = baseNameFrom(book + "Varnet.bin");
    }
};

}  // namespace

TEST(FileLocationsTest, ResolveWritesDefaultSettingsOnlyWhenMissing) {
    Install in;
    const ResolveResult first = ResolveFilePaths(in.state, in.data, 1024, 768);
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(in.state.SettingsPath, in.data + "/varnet.ini");
    EXPECT_EQ(in.state.BookmarkPath, in.data + "/varnet.bm");
    EXPECT_EQ(in.state.TocPath, in.book + "varnet.toc");
    EXPECT_EQ(in.state.IndexPath, "");
    EXPECT_FALSE(first.indexTabVisible);

    LineList expected;
    WriteDefaultSettings(expected, 1024, 768, in.book + "varnet.toc");
    EXPECT_EQ(contents(in.state.SettingsPath), expected.toBytes());

    // With every side file there, nothing is written: same file, same bytes.
    put(in.state.SettingsPath, "[how]\r\nfontsize=22\r\n");
    put(in.state.BookmarkPath, "<<none\r\n");
    put(in.book + "varnet.qdx", "entry 12\r\n");
    const ino_t inode = inodeOf(in.state.SettingsPath);
    const ResolveResult second = ResolveFilePaths(in.state, in.data, 640, 480);
    ASSERT_TRUE(second.ok);
    EXPECT_TRUE(second.indexTabVisible);
    EXPECT_EQ(in.state.IndexPath, in.book + "varnet.qdx");
    EXPECT_EQ(contents(in.state.SettingsPath), "[how]\r\nfontsize=22\r\n");
    EXPECT_EQ(inodeOf(in.state.SettingsPath), inode);
    EXPECT_EQ(std::distance(fs::directory_iterator(in.data), {}), 2);
}

TEST(FileLocationsTest, ResolveReportsSettingsThatCannotBeCreated) {
    Install in;
    fs::create_directory(in.book + "varnet.qdx");  // a folder is no index file
    fs::remove(in.data);
    put(in.data, "a file where the data folder belongs");

    const ResolveResult result = ResolveFilePaths(in.state, in.data, 1024, 768);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "Cannot create file " + in.data + "/varnet.ini");
    EXPECT_FALSE(result.indexTabVisible);
    EXPECT_EQ(in.state.IndexPath, "");
    EXPECT_EQ(contents(in.data), "a file where the data folder belongs");
}
