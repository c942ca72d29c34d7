#include "AtomicFile.h"
#include "SettingsFile.h"

#include "FileBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
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

const std::string kToc = "/usr/lib/varnet/varnet.toc";

std::string defaultText(const std::string& bounds) {
    return "[" + kToc +
           "]\r\n[how]\r\ndictionary=0\r\nfontsize=15\r\nbackground=0\r\nplainbkg=0\r\ntwocolor=0\r\n"
           "twocolumn=0\r\n" +
           bounds + "\r\n";
}

}  // namespace

TEST(SettingsFileTest, DefaultTextFitsTheScreen) {
    struct Case {
        std::int32_t width, height;
        std::string bounds;
    };
    const std::vector<Case> cases = {
        {640, 480,
         "tleft=0\r\ntwidth=500\r\nttop=0\r\ntheight=440\r\npleft=501\r\npwidth=130\r\nptop=0\r\npheight="
         "200\r\n"},
        {800, 600,
         "tleft=0\r\ntwidth=600\r\nttop=0\r\ntheight=500\r\npleft=601\r\npwidth=190\r\nptop=0\r\npheight="
         "250\r\n"},
        {1024, 768,
         "tleft=0\r\ntwidth=700\r\nttop=0\r\ntheight=668\r\npleft=701\r\npwidth=300\r\nptop=0\r\npheight="
         "400\r\n"},
        // Only the width chooses the column; the height counts for other widths alone.
        {640, 1000,
         "tleft=0\r\ntwidth=500\r\nttop=0\r\ntheight=440\r\npleft=501\r\npwidth=130\r\nptop=0\r\npheight="
         "200\r\n"},
        {1920, 1080,
         "tleft=0\r\ntwidth=700\r\nttop=0\r\ntheight=980\r\npleft=701\r\npwidth=300\r\nptop=0\r\npheight="
         "400\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        LineList list;
        WriteDefaultSettings(list, c.width, c.height, kToc);
        EXPECT_EQ(list.count(), 17);
        EXPECT_EQ(list.toBytes(), defaultText(c.bounds));
    }
    // It appends to what the list holds.
    LineList list({"kept"});
    WriteDefaultSettings(list, 800, 600, kToc);
    EXPECT_EQ(list.count(), 18);
    EXPECT_EQ(list[0], "kept");
}

TEST(SettingsFileTest, DefaultFileIsWrittenWholeOrReported) {
    TempFolder dir;
    const std::string path = dir / "varnet.ini";
    put(path, "[how]\r\nhandadded=1\r\n");
    ASSERT_TRUE(writeDefaultSettingsFile(path, 1024, 768, kToc));
    LineList expected;
    WriteDefaultSettings(expected, 1024, 768, kToc);
    EXPECT_EQ(contents(path), expected.toBytes());
    EXPECT_EQ(contents(path).substr(contents(path).size() - 4), "\r\n\r\n");

    AtomicFile::setFailureHook([](AtomicFile::Step s) { return s == AtomicFile::Step::sync; });
    put(path, "old");
    const FileResult failed = writeDefaultSettingsFile(path, 1024, 768, kToc);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.error, "Cannot create file " + path);
    EXPECT_EQ(contents(path), "old");
}

TEST(SettingsFileTest, ReadsValuesWithTheirDefaults) {
    struct Case {
        const char* name;
        std::string bytes;
        SettingsValues expected;
    };
    auto with = [](auto change) {
        SettingsValues v;
        change(v);
        return v;
    };
    LineList fresh;
    WriteDefaultSettings(fresh, 1024, 768, kToc);
    const std::vector<Case> cases = {
        {"empty", "", SettingsValues{}},
        {"only background", "[how]\r\nbackground=2\r\n", with([](SettingsValues& v) { v.background = 2; })},
        {"default text", fresh.toBytes(), with([](SettingsValues& v) {
             v.tleft = 0;
             v.twidth = 700;
             v.theight = 668;
             v.background = 0;
         })},
        {"options and raw font size",
         "[how]\r\ntwocolor=7\r\nplainbkg=1\r\ntwocolumn=1\r\nfontsize=60\r\ntleft=-20\r\nttop=0x20\r\n",
         with([](SettingsValues& v) {
             v.twocolor = 7;
             v.plainbkg = 1;
             v.twocolumn = 1;
             v.fontsize = 60;
             v.tleft = -20;
             v.ttop = 32;
         })},
        {"values that are no numbers", "[how]\r\nfontsize=big\r\nbackground=\r\ntheight=1e3\r\n",
         SettingsValues{}},
        {"keys outside section how", "[other]\r\nfontsize=9\r\nbackground=0\r\n", SettingsValues{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SettingsValues v = readSettingsValues(c.bytes);
        const SettingsValues& e = c.expected;
        EXPECT_EQ(v.fontsize, e.fontsize);
        EXPECT_EQ(v.tleft, e.tleft);
        EXPECT_EQ(v.ttop, e.ttop);
        EXPECT_EQ(v.theight, e.theight);
        EXPECT_EQ(v.twidth, e.twidth);
        EXPECT_EQ(v.twocolor, e.twocolor);
        EXPECT_EQ(v.plainbkg, e.plainbkg);
        EXPECT_EQ(v.twocolumn, e.twocolumn);
        EXPECT_EQ(v.background, e.background);
    }
    TempFolder dir;
    EXPECT_EQ(readSettingsValuesFromFile(dir / "missing.ini").background, 1);
    put(dir / "varnet.ini", "[how]\r\nbackground=2\r\n");
    EXPECT_EQ(readSettingsValuesFromFile(dir / "varnet.ini").background, 2);
}

namespace {
const WindowSettings kWindow{2, 10, 20, 600, 700, 18, true, false};
}

TEST(SettingsFileTest, WindowSettingsWriteEightKeysInOrder) {
    TempFolder dir;
    const std::string path = dir / "varnet.ini";
    ASSERT_TRUE(writeWindowSettings(path, kWindow, 1024, 768));
    EXPECT_EQ(contents(path),
              "[how]\r\nbackground=2\r\ntleft=10\r\nttop=20\r\ntheight=600\r\ntwidth=700\r\nfontsize=18\r\n"
              "plainbkg=1\r\ntwocolor=0\r\n");

    // Over the default text every key keeps its place; the keys not saved
    // (twocolumn, dictionary, the p keys) and the first line stay as they were.
    LineList fresh;
    WriteDefaultSettings(fresh, 1024, 768, kToc);
    put(path, fresh.toBytes());
    ASSERT_TRUE(writeWindowSettings(path, kWindow, 1024, 768));
    EXPECT_EQ(contents(path),
              "[" + kToc +
                  "]\r\n[how]\r\ndictionary=0\r\nfontsize=18\r\nbackground=2\r\nplainbkg=1\r\n"
                  "twocolor=0\r\ntwocolumn=0\r\ntleft=10\r\ntwidth=700\r\nttop=20\r\ntheight=600\r\n"
                  "pleft=701\r\npwidth=300\r\nptop=0\r\npheight=400\r\n\r\n");
}

TEST(SettingsFileTest, AWindowFillingTheScreenKeepsItsStoredBoundsButWritesItsOptions) {
    TempFolder dir;
    const std::string path = dir / "varnet.ini";
    const std::string stored = "[how]\r\ntleft=10\r\nttop=20\r\ntheight=600\r\ntwidth=700\r\nfontsize=15\r\n";
    WindowSettings wide = kWindow;
    wide.twidth = 1024;
    wide.fontsize = 30;
    WindowSettings high = kWindow;
    high.theight = 768;
    high.tleft = 0;
    for (const WindowSettings& w : {wide, high}) {
        put(path, stored);
        EXPECT_TRUE(writeWindowSettings(path, w, 1024, 768));
        EXPECT_EQ(contents(path), "[how]\r\ntleft=10\r\nttop=20\r\ntheight=600\r\ntwidth=700\r\nfontsize=" +
                                      std::to_string(w.fontsize) +
                                      "\r\nbackground=2\r\nplainbkg=1\r\ntwocolor=0\r\n");
    }
    // One pixel short of the screen writes the bounds too.
    high.theight = 767;
    put(path, stored);
    EXPECT_TRUE(writeWindowSettings(path, high, 1024, 768));
    EXPECT_EQ(contents(path),
              "[how]\r\ntleft=0\r\nttop=20\r\ntheight=767\r\ntwidth=700\r\nfontsize=18\r\n"
              "background=2\r\nplainbkg=1\r\ntwocolor=0\r\n");
}

TEST(SettingsFileTest, WindowSettingsAreWrittenWholeOrNotAtAll) {
    TempFolder dir;
    const std::string path = dir / "varnet.ini";
    const std::string old = "[/opt/v/varnet.toc]\r\n[how]\r\nfontsize=15\r\nbackground=0\r\n";
    ASSERT_TRUE(AtomicFile::write(path, old));
    // A full disk at any step of the one replacement: the old file stays.
    for (const auto step : {AtomicFile::Step::create, AtomicFile::Step::write, AtomicFile::Step::sync,
                            AtomicFile::Step::rename}) {
        int calls = 0;
        AtomicFile::setFailureHook([&calls, step](AtomicFile::Step s) {
            ++calls;
            return s == step;
        });
        const FileResult result = writeWindowSettings(path, kWindow, 1024, 768);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "Unable to write to " + path);
        EXPECT_EQ(contents(path), old);
        EXPECT_LE(calls, 4);  // one replacement, not one per key
    }
    AtomicFile::setFailureHook({});
    ASSERT_TRUE(writeWindowSettings(path, kWindow, 1024, 768));
    EXPECT_EQ(contents(path),
              "[/opt/v/varnet.toc]\r\n[how]\r\nfontsize=18\r\nbackground=2\r\ntleft=10\r\nttop=20\r\n"
              "theight=600\r\ntwidth=700\r\nplainbkg=1\r\ntwocolor=0\r\n");
}
