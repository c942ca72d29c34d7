// Plain text and Markdown books, and the mapping of their characters to the
// reader's Latin-1.
#include "CharacterMap.h"
#include "ImportReasons.h"
#include "ImportTestOutline.h"
#include "TextImport.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <clocale>

using namespace varnet::import;
using varnet::testing::outline;

namespace {

std::string importedText(const std::string& bytes, const std::string& name = "/books/the_lantern.txt") {
    const ImportResult r = importPlainText(bytes, name);
    EXPECT_TRUE(r.book.has_value()) << r.error;
    EXPECT_TRUE(r.book.has_value() == r.error.empty());
    return r.book ? outline(*r.book) : r.error;
}

std::string importedMarkdown(const std::string& bytes) {
    const ImportResult r = importMarkdown(bytes, "/books/notes.md");
    EXPECT_TRUE(r.book.has_value()) << r.error;
    return r.book ? outline(*r.book) : r.error;
}

const std::string kProse =
    "The keeper climbed the stair at dusk, as he had done every evening for thirty years, and "
    "trimmed the wick before the wind could rise.";

TEST(ImportPlainText, ArchiveHeaderAndFooterGoAndChaptersOfEveryFormStart) {
    const std::string text =
        "The Free Shelf eBook of The Lantern Keeper\r\n\r\n"
        "This eBook is for the use of anyone anywhere.\r\n\r\n"
        "Title: The Lantern Keeper\r\n\r\nAuthor: Ada Marsh\r\n\r\nRelease date: May 1, 2004\r\n\r\n"
        "*** START OF THE FREE SHELF EBOOK THE LANTERN KEEPER ***\r\n\r\n"
        "Produced by a team of volunteers.\r\n\r\n"
        "THE LANTERN KEEPER\r\n\r\nby Ada Marsh\r\n\r\n"
        "CONTENTS\r\n\r\nCHAPTER I. The Shore\r\nCHAPTER II. The Light\r\n\r\n"
        "CHAPTER I.\r\n\r\nTHE SHORE\r\n\r\n" +
        kProse.substr(0, kProse.find(" as ")) + "\r\n" + kProse.substr(kProse.find(" as ") + 1) +
        "\r\n\r\n"
        "    The tide comes in,\r\n      the tide goes out,\r\n    and the lamp burns on.\r\n\r\n"
        "Chapter 2\r\n\r\nSecond.\r\n\r\n"
        "Chapter XII: The Storm\r\n\r\nThird.\r\n\r\n"
        "BOOK TWO\r\n\r\nFourth.\r\n\r\n"
        "PART III\r\n\r\nFifth.\r\n\r\n"
        "IV.\r\n\r\nSixth, with a line in capitals:\r\n\r\nTHE END\r\n\r\n"
        "End of the Free Shelf EBook of The Lantern Keeper\r\n\r\n"
        "*** END OF THE FREE SHELF EBOOK THE LANTERN KEEPER ***\r\n\r\n"
        "Updated editions will replace the previous one. Section 1. General Terms of Use.\r\n";
    EXPECT_EQ(importedText(text),
              "T The Lantern Keeper / Ada Marsh\n"
              "C CHAPTER I. THE SHORE\n"
              "P " +
                  kProse +
                  "\n"
                  "V The tide comes in, | the tide goes out, | and the lamp burns on.\n"
                  "C Chapter 2\nP Second.\n"
                  "C Chapter XII: The Storm\nP Third.\n"
                  "C BOOK TWO\nP Fourth.\n"
                  "C PART III\nP Fifth.\n"
                  "C IV.\nP Sixth, with a line in capitals:\nP THE END\n");
}

TEST(ImportPlainText, StructureWithoutAnArchiveHeader) {
    struct Case {
        const char* name;
        std::string text;
        std::string outline;
    };
    const Case cases[] = {
        // No headings: one chapter, the title from the file's name.
        {"no headings", "First line\nof a paragraph.\n\n\n  Second   paragraph.\n",
         "T the lantern / \nC \nP First line of a paragraph.\nP Second paragraph.\n"},
        // Lines in capitals are the headings of a book without numbered
        // ones; prose before the first heading is kept as a chapter.
        {"capitals", kProse + "\n\nTHE SHORE\n\nOne.\n\nTHE LIGHT\n\nTwo.\n",
         "T the lantern / \nC \nP " + kProse + "\nC THE SHORE\nP One.\nC THE LIGHT\nP Two.\n"},
        // A contents list of headings between blank lines is not a run of
        // empty chapters: only the last of the run stands.
        {"contents", "I\n\nII\n\nIII\n\nI\n\nOne.\n\nII\n\nTwo.\n",
         "T the lantern / \nC I\nP One.\nC II\nP Two.\n"},
        // A number and a title on two lines, a book heading over a chapter.
        {"joined headings", "CHAPTER 1\nTHE SHORE\n\nOne.\n\nBOOK TWO\n\nCHAPTER 2\n\nTwo.\n",
         "T the lantern / \nC CHAPTER 1: THE SHORE\nP One.\nC BOOK TWO: CHAPTER 2\nP Two.\n"},
        // Only Roman numerals in their usual form are headings, not words of
        // their letters.
        {"Roman numerals", "CHAPTER I\n\nOne.\n\nDID\n\nTwo.\n\nXLIV\n\nThree.\n",
         "T the lantern / \nC CHAPTER I\nP One.\nP DID\nP Two.\nC XLIV\nP Three.\n"},
        // Lines that are not indented, or too long, are prose.
        {"not verse", "Short line\nanother one\n\n  " + kProse + "\n  " + kProse + "\n",
         "T the lantern / \nC \nP Short line another one\nP " + kProse + " " + kProse + "\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(importedText(c.text), c.outline) << c.name;
}

TEST(ImportMarkdown, HeadingsMarkupAndVerse) {
    const std::string md =
        "# The Lantern Keeper\n\n"
        "A *short* book about a __lamp__, with `code` and snake_case_words.\n\n"
        "## The Shore\n\n"
        "See [the map](http://example.com/map \"Map\") and ![a gull](gull.png) the [sea][1].\n"
        "It continues\non this line.\n\n"
        "[1]: http://example.com/sea\n\n"
        "- first item\n- second *item*\n\n"
        "> A quoted line\n> that goes on.\n\n"
        "### A small heading\n\n"
        "The tide comes in,  \nthe tide goes out,\\\nand the lamp burns on.\n\n"
        "## The Light\n\n"
        "```\nlet x = 1;\n\nlet y = 2;\n```\n\n"
        "---\n\n"
        "Escaped \\*stars\\* stay.\n";
    EXPECT_EQ(importedMarkdown(md),
              "T The Lantern Keeper / \n"
              "C \nP A short book about a lamp, with code and snake_case_words.\n"
              "C The Shore\nP See the map and the sea. It continues on this line.\n"
              "P first item\nP second item\nP A quoted line that goes on.\nP A small heading\n"
              "V The tide comes in, | the tide goes out, | and the lamp burns on.\n"
              "C The Light\nP let x = 1;\nP let y = 2;\nP Escaped *stars* stay.\n");
}

TEST(ImportMarkdown, FrontMatterAndSetextHeadings) {
    const std::string md =
        "---\ntitle: \"Tides\"\nauthor: Ada Marsh\n---\n\n"
        "Morning\n=======\n\nOne.\n\nNoon\n-------\n\nA part.\n\nEvening\n=======\n\n```\nthe sea\nthe "
        "sky\n```\n";
    EXPECT_EQ(importedMarkdown(md),
              "T Tides / Ada Marsh\nC Morning\nP One.\nP Noon\nP A part.\nC Evening\nV the sea | the sky\n");
}

// A title heading that is all markup names no title: the file's name does.
TEST(ImportMarkdown, EmptyTitleHeadingFallsBackToTheFileName) {
    EXPECT_EQ(importedMarkdown("# `` **``**\n\nText.\n"), "T notes / \nC \nP Text.\n");
}

TEST(CharacterMap, EncodingsLineEndsAndPlainForms) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string latin1;
    };
    const Case cases[] = {
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF"
         "caf\xC3\xA9 na\xC3\xAFve",
         "caf\xE9 na\xEFve"},
        {"Windows-1252",
         "\x93Hi\x94 \x96 caf\xE9\x85 \x80"
         "5 \x9C",
         "\"Hi\" - caf\xE9... EUR5 oe"},
        {"invalid UTF-8 reads as Windows-1252", "caf\xC3\xA9 and caf\xE9", "caf\xC3\xA9 and caf\xE9"},
        {"line ends", "a\r\nb\rc\n\r\nd", "a\nb\nc\n\nd"},
        {"typography",
         "\xE2\x80\x9Cx\xE2\x80\x9D \xE2\x80\x98y\xE2\x80\x99 a\xE2\x80\x94"
         "b 1\xE2\x80\x93"
         "2"
         "\xE2\x80\xA6 \xEF\xAC\x81"
         "ne \xEF\xAC\x82"
         "ow \xC5\x92uvre",
         "\"x\" 'y' a--b 1-2... fine flow OEuvre"},
        {"Latin letters beyond Latin-1",
         "\xC5\x81\xC3\xB3"
         "d\xC5\xBA, G\xC3\xB6"
         "del, Erd\xC5\x91s, \xC8\x98"
         "erban",
         "L\xF3"
         "dz, G\xF6"
         "del, Erdos, Serban"},
        {"spaces and controls",
         "a\xC2\xA0"
         "b\x01"
         "c\x7F\xE2\x80\x8B"
         "d\te\xC2\xAD"
         "f",
         "a bcd ef"},
        {"accent after its letter", "e\xCC\x81t\xC3\xA9 n\xCC\x83 z\xCC\x8C", "\xE9t\xE9 \xF1 z"},
        {"UTF-16 LE", std::string("\xFF\xFEh\0i\0\r\0\n\0\xE9\0", 12), "hi\n\xE9"},
        {"UTF-16 BE with a pair", std::string("\xFE\xFF\0h\xD8\x3D\xDE\x00\0i", 10), "hi"},
        {"more plain forms",
         "\xC5\xBF\xC4\xB1\xC6\x92 \xE2\x84\xA2 \xC7\x86 a\xE2\x80\x83"
         "b\xE2\x80\xAF"
         "c\xE2\x80\xA8"
         "d\xE2\x80\xB0\xF0\x9F\x98\x80"
         "e and enough other letters",
         "sif (TM) ? a b c\nde and enough other letters"},
        {"a few Greek letters",
         "The word \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 in a longer English sentence "
         "about something else entirely, with many more letters than the Greek word has.",
         "The word ????? in a longer English sentence about something else entirely, with many more letters "
         "than the Greek word has."},
    };
    for (const Case& c : cases) {
        const DecodedText d = decodeText(c.bytes);
        EXPECT_EQ(d.error, "") << c.name;
        EXPECT_EQ(d.text, c.latin1) << c.name;
    }
}

TEST(CharacterMap, RefusesWhatItCannotShow) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", "", reason::kEmpty},
        {"NUL byte", std::string("text\0more", 9), reason::kNotText},
        {"UTF-16 NUL", std::string("\xFF\xFEh\0\0\0", 6), reason::kNotText},
        {"Cyrillic",
         "\xD0\x92\xD0\xBE\xD0\xB9\xD0\xBD\xD0\xB0 \xD0\xB8 \xD0\xBC\xD0\xB8\xD1\x80 (War and peace)",
         reason::kScript},
        {"Chinese", "\xE4\xB8\xAD\xE6\x96\x87\xE6\x9B\xB8 book", reason::kScript},
        {"Arabic", "\xD9\x83\xD8\xAA\xD8\xA7\xD8\xA8 book", reason::kScript},
    };
    for (const Case& c : cases) {
        const DecodedText d = decodeText(c.bytes);
        EXPECT_EQ(d.error, c.reason) << c.name;
        EXPECT_EQ(d.text, "") << c.name;
    }
}

// The transliteration is glibc's, which follows the thread's LC_CTYPE
// locale: in the plain C locale l with stroke has no form and Cyrillic is
// spelt in Latin letters. The mapping must not depend on it, and must give
// the thread its own locale back.
TEST(CharacterMap, SameResultWhateverTheLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    const locale_t plain = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    ASSERT_NE(plain, static_cast<locale_t>(nullptr));
    const locale_t before = uselocale(plain);
    const DecodedText polish = decodeText(
        "\xC5\x81\xC3\xB3"
        "d\xC5\xBA");
    const DecodedText russian =
        decodeText("\xD0\x92\xD0\xBE\xD0\xB9\xD0\xBD\xD0\xB0 \xD0\xB8 \xD0\xBC\xD0\xB8\xD1\x80");
    EXPECT_EQ(uselocale(static_cast<locale_t>(nullptr)), plain);
    uselocale(before);
    freelocale(plain);
    EXPECT_EQ(polish.text,
              "L\xF3"
              "dz");
    EXPECT_EQ(polish.error, "");
    EXPECT_EQ(russian.error, reason::kScript);
}

}  // namespace
