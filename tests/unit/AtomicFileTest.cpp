#include "AtomicFile.h"

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

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

const std::string kBytes = std::string("[how]\r\nfontsize=15\r\n\0\xff\rend", 26);

}  // namespace

TEST(AtomicFileTest, WritesNewFileExactlyAndLeavesNoTemporary) {
    TempFolder dir;
    const std::string path = dir / "varnet.ini";
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(AtomicFile::write(path, kBytes));
    ::umask(mask);
    EXPECT_EQ(contents(path), kBytes);
    EXPECT_EQ(modeOf(path), 0644u);
    EXPECT_EQ(dir.entries(), 1u);
}

// Lines written a piece at a time come out as one text, each line ended by
// CR LF, across the pieces' edges; a failing write leaves nothing.
TEST(AtomicFileTest, LinesAreWrittenWholeAcrossPieces) {
    TempFolder dir;
    const std::string path = dir / "book.qtx";
    std::vector<std::string> lines;
    std::string expected;
    for (int k = 0; k < 20000; ++k) {
        lines.push_back("l05line " + std::to_string(k) + std::string(static_cast<std::size_t>(k % 13), 'x'));
        expected += lines.back() + "\r\n";
    }
    lines.emplace_back();  // an empty last line keeps its line end
    expected += "\r\n";
    ASSERT_TRUE(AtomicFile::writeLines(path, lines));
    EXPECT_EQ(contents(path), expected);
    EXPECT_EQ(dir.entries(), 1u);

    AtomicFile::setFailureHook([](AtomicFile::Step step) { return step == AtomicFile::Step::write; });
    EXPECT_FALSE(AtomicFile::writeLines(dir / "other.qtx", lines));
    AtomicFile::setFailureHook({});
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(AtomicFileTest, ReplacingKeepsTheOldFilesMode) {
    TempFolder dir;
    const std::string path = dir / "varnet.bm";
    put(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(AtomicFile::write(path, "new"));
    EXPECT_EQ(contents(path), "new");
    EXPECT_EQ(modeOf(path), 0600u);
}

TEST(AtomicFileTest, AnyFailingStepLeavesOldFileAndNoTemporary) {
    for (const auto step : {AtomicFile::Step::create, AtomicFile::Step::write, AtomicFile::Step::sync,
                            AtomicFile::Step::rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        TempFolder dir;
        const std::string path = dir / "varnet.ini";
        put(path, kBytes);
        const std::string fresh = dir / "fresh.ini";
        AtomicFile::setFailureHook([step](AtomicFile::Step s) { return s == step; });

        const FileResult result = AtomicFile::write(path, "half");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "No space left on device");
        EXPECT_FALSE(AtomicFile::write(fresh, "half").ok);

        EXPECT_EQ(contents(path), kBytes);
        EXPECT_FALSE(fs::exists(fresh));
        EXPECT_EQ(dir.entries(), 1u);
    }
}

TEST(AtomicFileTest, SymbolicLinkIsReplacedNotWrittenThrough) {
    TempFolder dir;
    const std::string target = dir / "elsewhere.ini";
    const std::string link = dir / "varnet.ini";
    put(target, "keep me");
    fs::create_symlink(target, link);

    ASSERT_TRUE(AtomicFile::write(link, "new settings"));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(contents(link), "new settings");
    EXPECT_EQ(contents(target), "keep me");
}

TEST(AtomicFileTest, UnwritablePlacesFailAndChangeNothing) {
    TempFolder dir;
    const std::string inMissingFolder = dir / "missing/varnet.ini";
    const FileResult missing = AtomicFile::write(inMissingFolder, "x");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "No such file or directory");

    const std::string folder = dir / "taken";
    fs::create_directory(folder);
    put(folder + "/inside", "still here");
    EXPECT_FALSE(AtomicFile::write(folder, "x").ok);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(contents(folder + "/inside"), "still here");
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(AtomicFileTest, ReadWholeFileReadsRegularFilesOnly) {
    TempFolder dir;
    const std::string file = dir / "file";
    put(file, kBytes);
    const std::string empty = dir / "empty";
    put(empty, "");
    const std::string zeroLink = dir / "zero";
    fs::create_symlink("/dev/zero", zeroLink);
    const std::string pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string huge = dir / "huge";
    put(huge, "");
    fs::resize_file(huge, kMaxReadBytes + 1);  // sparse: costs no disk space

    std::string out;
    ASSERT_TRUE(readWholeFile(file, out));
    EXPECT_EQ(out, kBytes);
    ASSERT_TRUE(readWholeFile(empty, out));
    EXPECT_EQ(out, "");

    // Refusals leave out as it was; the pipe must not block waiting for a writer.
    out = "untouched";
    for (const std::string& bad : {dir.path.string(), zeroLink, pipe, huge, dir / "missing"}) {
        SCOPED_TRACE(bad);
        const FileResult result = readWholeFile(bad, out);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(out, "untouched");
    }
}

TEST(AtomicFileTest, FileExistsMeansARegularFile) {
    TempFolder dir;
    const std::string file = dir / "file";
    put(file, "x");
    fs::create_symlink(file, dir / "toFile");
    fs::create_symlink(dir / "nothing", dir / "dangling");

    EXPECT_TRUE(fileExists(file));
    EXPECT_TRUE(fileExists(dir / "toFile"));
    EXPECT_FALSE(fileExists(dir / "dangling"));
    EXPECT_FALSE(fileExists(dir / "nothing"));
    EXPECT_FALSE(fileExists(dir.path.string()));
    EXPECT_FALSE(fileExists("/dev/null"));
    EXPECT_FALSE(fileExists(""));
}
