#include "AtomicFile.h"
#include "IniFile.h"

#include "FileBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace varnet;
using namespace std::string_literals;
namespace fs = std::filesystem;
using varnet::testing::contents;
using varnet::testing::TempFolder;

namespace {

constexpr std::int32_t kDefault = -777;

struct ReadCase {
    const char* name;
    std::string bytes;
    const char* section;
    const char* key;
    std::int32_t expected;
};

const std::vector<ReadCase> kReads = {
    {"decimal", "[how]\r\nfontsize=15\r\n", "how", "fontsize", 15},
    {"blanks around name and value", "[how]\r\n  fontsize \t=  -42  \r\n", "how", "fontsize", -42},
    {"plus sign", "[how]\r\na=+7\r\n", "how", "a", 7},
    {"hexadecimal", "[how]\r\na=0x1F\r\n", "how", "a", 31},
    {"hexadecimal upper prefix", "[how]\r\na=0X1f\r\n", "how", "a", 31},
    {"negative hexadecimal", "[how]\r\na=-0x10\r\n", "how", "a", -16},
    {"largest", "[how]\r\na=2147483647\r\n", "how", "a", INT32_MAX},
    {"smallest", "[how]\r\na=-2147483648\r\n", "how", "a", INT32_MIN},
    {"largest hexadecimal", "[how]\r\na=0x7fffffff\r\n", "how", "a", INT32_MAX},
    {"missing section", "[other]\r\na=1\r\n", "how", "a", kDefault},
    {"missing key", "[how]\r\nb=1\r\n", "how", "a", kDefault},
    {"empty file", "", "how", "a", kDefault},
    {"trailing letters", "[how]\r\na=15px\r\n", "how", "a", kDefault},
    {"inner blank", "[how]\r\na=1 2\r\n", "how", "a", kDefault},
    {"words", "[how]\r\na=abc\r\n", "how", "a", kDefault},
    {"empty value", "[how]\r\na=\r\n", "how", "a", kDefault},
    {"sign alone", "[how]\r\na=-\r\n", "how", "a", kDefault},
    {"prefix alone", "[how]\r\na=0x\r\n", "how", "a", kDefault},
    {"bad hexadecimal digit", "[how]\r\na=0x1G\r\n", "how", "a", kDefault},
    {"decimal with hexadecimal digit", "[how]\r\na=1F\r\n", "how", "a", kDefault},
    {"trailing comment", "[how]\r\na=5 ;five\r\n", "how", "a", kDefault},
    {"above range", "[how]\r\na=2147483648\r\n", "how", "a", kDefault},
    {"below range", "[how]\r\na=-2147483649\r\n", "how", "a", kDefault},
    {"hexadecimal above range", "[how]\r\na=0x80000000\r\n", "how", "a", kDefault},
    {"many digits", "[how]\r\na=99999999999999999999999\r\n", "how", "a", kDefault},
    {"names ignore case", "[HoW]\r\nFontSize=3\r\n", "how", "fontsize", 3},
    {"first section wins", "[how]\r\nb=1\r\n[HOW]\r\na=2\r\n", "how", "a", kDefault},
    {"first key wins", "[how]\r\na=1\r\na=2\r\n", "how", "a", 1},
    {"key before any section", "a=5\r\n[how]\r\n", "how", "a", kDefault},
    {"key of another section", "[other]\r\na=9\r\n[how]\r\n", "how", "a", kDefault},
    {"section ends at next header", "[how]\r\n[other]\r\na=9\r\n", "how", "a", kDefault},
    {"unclosed header", "[how\r\na=3\r\n", "how", "a", kDefault},
    {"blanks around header", "  [ how ]\t\r\na=3\r\n", "how", "a", 3},
    {"comment", "[how]\r\n;a=3\r\n", "how", "a", kDefault},
    {"CR only", "[how]\ra=12\rb=3", "how", "b", 3},
    {"LF only", "[how]\na=12\nb=4\n", "how", "b", 4},
    {"no final line end", "[how]\r\na=12", "how", "a", 12},
    {"NUL bytes around value",
     "[how]\r\na=\0"
     "8\0\r\n"s,
     "how", "a", 8},
    {"empty first section", "[/usr/lib/varnet/varnet.toc]\r\n[how]\r\na=6\r\n", "how", "a", 6},
};

TEST(IniFileTest, ReadsIntegerKeys) {
    for (const auto& c : kReads) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IniFile::readInteger(c.bytes, c.section, c.key, kDefault), c.expected);
    }
}

struct WriteCase {
    const char* name;
    std::string before;
    const char* key;
    std::int32_t value;
    std::string after;
};

const std::vector<WriteCase> kWrites = {
    {"key kept in place", "[t]\r\n[how]\r\nfontsize=15\r\ntleft=0\r\n", "fontsize", 20,
     "[t]\r\n[how]\r\nfontsize=20\r\ntleft=0\r\n"},
    {"blanks kept, name matched without case", "[HOW]\n  FontSize =  15  \n", "fontsize", -3,
     "[HOW]\n  FontSize =  -3  \n"},
    {"other line ends untouched", "[how]\nx=1\ry=2\r\n", "x", 5, "[how]\nx=5\ry=2\r\n"},
    {"empty value filled", "[how]\r\na=\r\n", "a", 4, "[how]\r\na=4\r\n"},
    {"duplicated key: first written", "[how]\r\na=1\r\na=2\r\n", "a", 5, "[how]\r\na=5\r\na=2\r\n"},
    {"last line without line end", "[how]\r\na=1", "a", 9, "[how]\r\na=9"},
    {"smallest value", "[how]\r\na=1\r\n", "a", INT32_MIN, "[how]\r\na=-2147483648\r\n"},
    {"key appended after last key, before blanks and next section", "[how]\r\na=1\r\n\r\n[next]\r\nb=2\r\n",
     "c", 3, "[how]\r\na=1\r\nc=3\r\n\r\n[next]\r\nb=2\r\n"},
    {"key appended before a trailing comment", "[how]\r\na=1\r\n; note\r\n", "c", 3,
     "[how]\r\na=1\r\nc=3\r\n; note\r\n"},
    {"key in a section without keys", "[how]\r\n\r\n", "c", 3, "[how]\r\nc=3\r\n\r\n"},
    {"commented key does not count", "[how]\r\n;c=1\r\n", "c", 3, "[how]\r\nc=3\r\n;c=1\r\n"},
    {"key appended after a last line without line end", "[how]\r\na=1", "c", 3, "[how]\r\na=1\r\nc=3\r\n"},
    {"key appended in CR-only file", "[how]\ra=1\rb=2", "c", 3, "[how]\ra=1\rb=2\r\nc=3\r\n"},
    {"key goes to the first matching section", "[how]\r\na=1\r\n[HOW]\r\nb=2\r\n", "b", 3,
     "[how]\r\na=1\r\nb=3\r\n[HOW]\r\nb=2\r\n"},
    {"section appended", "[/b/varnet.toc]\r\n", "c", 3, "[/b/varnet.toc]\r\n[how]\r\nc=3\r\n"},
    {"section appended after a last line without line end", "[t]\r\nx=1", "c", 3,
     "[t]\r\nx=1\r\n[how]\r\nc=3\r\n"},
    {"section appended after CR", "[t]\r", "c", 3, "[t]\r[how]\r\nc=3\r\n"},
    {"unclosed header is no section", "[how\r\nc=1\r\n", "c", 2, "[how\r\nc=1\r\n[how]\r\nc=2\r\n"},
    {"empty file", "", "c", 3, "[how]\r\nc=3\r\n"},
};

TEST(IniFileTest, WritesChangeOnlyTheKey) {
    for (const auto& c : kWrites) {
        SCOPED_TRACE(c.name);
        const std::string after = IniFile::writeInteger(c.before, "how", c.key, c.value);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(IniFile::readInteger(after, "how", c.key, kDefault), c.value);
    }
}

TEST(IniFileTest, DefaultTextKeepsEveryOtherByte) {
    const std::string text =
        "[/usr/lib/varnet/varnet.toc]\r\n[how]\r\ndictionary=0\r\nfontsize=15\r\nbackground=0\r\n"
        "plainbkg=0\r\ntwocolor=0\r\ntwocolumn=0\r\ntleft=0\r\ntwidth=700\r\nttop=0\r\ntheight=668\r\n"
        "pleft=701\r\npwidth=300\r\nptop=0\r\npheight=400\r\n\r\n";
    std::string expected = text;
    expected.replace(expected.find("twidth=700") + 7, 3, "1234");
    EXPECT_EQ(IniFile::writeInteger(text, "how", "twidth", 1234), expected);
    // Writing every key with the value it holds gives the same bytes back.
    std::string same = text;
    for (const char* key : {"dictionary", "fontsize", "background", "plainbkg", "twocolor", "twocolumn",
                            "tleft", "twidth", "ttop", "theight", "pleft", "pwidth", "ptop", "pheight"})
        same = IniFile::writeInteger(same, "how", key, IniFile::readInteger(same, "how", key, kDefault));
    EXPECT_EQ(same, text);
}

TEST(IniFileTest, VeryLongLinesAreKept) {
    const std::string longLine(1 << 20, 'x');
    const std::string text = "[how]\r\n" + longLine + "\r\nfontsize=15\r\n" + longLine;
    EXPECT_EQ(IniFile::readInteger(text, "how", "fontsize", kDefault), 15);
    EXPECT_EQ(IniFile::writeInteger(text, "how", "fontsize", 16),
              "[how]\r\n" + longLine + "\r\nfontsize=16\r\n" + longLine);
    const std::string longValue = "[how]\r\na=" + std::string(100000, '9') + "\r\n";
    EXPECT_EQ(IniFile::readInteger(longValue, "how", "a", kDefault), kDefault);
}

// Random bytes drawn from the characters that make up the layout: whatever
// they form, a written key reads back and the section's other keys keep
// their values.
TEST(IniFileTest, GarbageBytesNeverBreakReadOrWrite) {
    const std::string alphabet = "[]=;howHOWab019x- \t\r\n\xff\0"s;
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 80);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes;
        for (int n = length(random); n > 0; --n) bytes += alphabet[pick(random)];
        if (round % 3 == 0) bytes.insert(0, "[how]\n");
        SCOPED_TRACE(::testing::PrintToString(bytes));
        const std::int32_t otherBefore = IniFile::readInteger(bytes, "how", "b", kDefault);
        const std::string after = IniFile::writeInteger(bytes, "how", "a", round);
        ASSERT_EQ(IniFile::readInteger(after, "how", "a", kDefault), round);
        ASSERT_EQ(IniFile::readInteger(after, "how", "b", kDefault), otherBefore);
        ASSERT_EQ(IniFile::writeInteger(after, "how", "a", round), after);
    }
}

TEST(IniFileTest, FileWrappersCreateReadAndReportFailure) {
    TempFolder dir;
    const std::string path = dir / "varnet.ini";
    std::string error;

    EXPECT_EQ(IniFile::readIntegerFromFile(path, "how", "fontsize", kDefault), kDefault);
    ASSERT_TRUE(IniFile::writeIntegerToFile(path, "how", "fontsize", 20, error));
    EXPECT_EQ(contents(path), "[how]\r\nfontsize=20\r\n");
    ASSERT_TRUE(IniFile::writeIntegerToFile(path, "how", "tleft", 0x10, error));
    EXPECT_EQ(contents(path), "[how]\r\nfontsize=20\r\ntleft=16\r\n");
    EXPECT_EQ(IniFile::readIntegerFromFile(path, "HOW", "TLEFT", kDefault), 16);

    // A full disk: the old file stays as it was.
    AtomicFile::setFailureHook([](AtomicFile::Step s) { return s == AtomicFile::Step::write; });
    EXPECT_FALSE(IniFile::writeIntegerToFile(path, "how", "fontsize", 30, error));
    EXPECT_EQ(error, "Unable to write to " + path);
    EXPECT_EQ(contents(path), "[how]\r\nfontsize=20\r\ntleft=16\r\n");
    AtomicFile::setFailureHook({});

    // Neither a missing folder nor a folder in the file's place is written.
    const std::string inMissing = dir / "missing/varnet.ini";
    error.clear();
    EXPECT_FALSE(IniFile::writeIntegerToFile(inMissing, "how", "a", 1, error));
    EXPECT_EQ(error, "Unable to write to " + inMissing);
    const std::string folder = dir / "folder.ini";
    fs::create_directory(folder);
    EXPECT_FALSE(IniFile::writeIntegerToFile(folder, "how", "a", 1, error));
    EXPECT_EQ(error, "Unable to write to " + folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(IniFile::readIntegerFromFile(folder, "how", "a", kDefault), kDefault);
}

}  // namespace
