// The layout engine on whole books: the demo book's prose and small books
// written here (dialogue, verse, odd characters). Each check reads the
// stored lines back the way the reader does and measures what a reader
// would see: every word once and in order, phrases of a readable length
// broken at pauses, indents that cascade, consistent colours, even pages,
// verse kept as written, and a word index the Index page can follow.
#include "DocumentLayout.h"
#include "LineFormat.h"
#include "TextFormat.h"
#include "WordIndex.h"
#include "WordIndexBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace varnet;
using namespace varnet::layout;

namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> splitBlanks(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
bool isWordByte(char c) {
    return isAsciiAlnum(c) || static_cast<unsigned char>(c) >= 0xC0;
}

bool isCapital(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7);
}

std::string lowered(std::string text) {
    for (char& c : text)
        if (isCapital(c)) c = static_cast<char>(static_cast<unsigned char>(c) + 0x20);
    return text;
}

// The word of a token as the colours are keyed: letters and digits from the
// first to the last, lower case, a possessive "'s" dropped.
std::string keyOf(const std::string& token) {
    std::size_t b = 0, e = token.size();
    while (b < e && !isWordByte(token[b])) ++b;
    while (e > b && !isWordByte(token[e - 1])) --e;
    std::string key = lowered(token.substr(b, e - b));
    if (key.size() > 2 && key.ends_with("'s")) key.resize(key.size() - 2);
    return key;
}

// --- Books ----------------------------------------------------------------

Block prose(std::string text) {
    return {Block::Kind::Paragraph, {std::move(text)}};
}
Block verse(std::vector<std::string> lines) {
    return {Block::Kind::Verse, std::move(lines)};
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The demo book's chapters as the writers keep them: a title line, then
// paragraphs parted by blank lines ("*" parts the fables).
BookDocument demoProse() {
    BookDocument book{"The Lantern Book of Fables", "Aesop", {}};
    for (int n = 1; n <= 24; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "/data/book/chapter%02d.txt", n);
        std::istringstream in(readFile(std::string(VARNET_SOURCE_DIR) + name));
        Chapter chapter;
        std::string line, paragraph;
        auto flush = [&] {
            if (!paragraph.empty()) chapter.blocks.push_back(prose(paragraph));
            paragraph.clear();
        };
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (chapter.title.empty()) {
                chapter.title = line;
            } else if (line.empty() || line == "*") {
                flush();
            } else {
                paragraph += (paragraph.empty() ? "" : " ") + line;
            }
        }
        flush();
        book.chapters.push_back(std::move(chapter));
    }
    return book;
}

BookDocument dialogueBook() {
    const std::vector<std::string> paragraphs = {
        "Anna opened the gate to the old garden and stood for a while under the pear tree, listening to "
        "the bees that worked the last of the blossom.",
        "\"Are you coming in?\" Tomas called from the kitchen door. \"The soup is getting cold, and your "
        "mother said you would be back by noon.\"",
        "\"In a minute,\" she said. \"I want to see whether the old bench is still where we left it, "
        "behind the wall that our grandfather built.\"",
        "He laughed and shook his head, because he knew that a minute in the garden meant an hour, and "
        "that nobody could hurry Anna when she had made up her mind.",
        "The bench was there. It had sunk a little into the soft ground, and moss had grown over one of "
        "its arms, but it was the same bench, and she sat on it as she had sat when she was small.",
        "\"Tomas!\" she called. \"Come and look at this. Someone has carved our names into the back of "
        "it, and I am sure it was not me.\"",
        "He came down the path with the soup pot still in his hands, which made her laugh so much that "
        "she nearly fell off the bench.",
        "\"It was me,\" he admitted. \"I did it the summer before you went away to the city, with the "
        "small knife that Father gave me.\"",
        "They sat together on the old bench while the soup went cold, and neither of them said very "
        "much, since there was nothing that needed to be said.",
        "Later, when the light had gone and the bees were quiet, Anna walked back up to the house and "
        "found that her mother had kept the soup warm on the stove after all.",
        "Yes.",
        "\"Why did you never tell me?\" she asked him the next morning, over bread and the last of the "
        "honey. \"You could have written. You could have sent a card.\"",
        "\"I thought you knew,\" said Tomas, and he went out to mend the garden gate, which had never "
        "closed properly since the winter storms."};
    BookDocument book{"The Pear Tree", "Lena Sorell", {}};
    for (int c = 0; c < 3; ++c) {
        Chapter chapter{c == 1 ? "" : "In the Garden, Part " + std::to_string(c + 1), {}};
        for (int repeat = 0; repeat < 3; ++repeat)
            for (const auto& p : paragraphs) chapter.blocks.push_back(prose(p));
        book.chapters.push_back(std::move(chapter));
    }
    return book;
}

BookDocument verseBook() {
    BookDocument book{"Songs of the Mill", "", {}};
    Chapter first{"The Miller's Song", {}};
    first.blocks.push_back(
        prose("The miller sang as he worked, and the village children learned his songs before they could "
              "read. Here is the one they liked best, as my grandmother remembered it."));
    first.blocks.push_back(
        verse({"The wheel goes round, the water falls,", "The flour is white upon the walls,", "",
               "And every sack that leaves the door",
               "Is heavier than the one before, and heavier still, until the cart "
               "groans on the long hill road to the town,",
               "O miller, sing!"}));
    first.blocks.push_back(
        prose("She would sing it twice, and the second time more slowly, so that we could join in."));
    Chapter second{"Evening", {}};
    second.blocks.push_back(verse({"Quiet now the water lies,", "Quiet the wheel, and the miller's eyes."}));
    book.chapters = {first, second};
    return book;
}

const std::string kLongWord = "Pneumonoultramicroscopicsilicovolcanoconiosislike";  // 49 characters

// Bars, brackets, letters that spell markers, Latin-1 letters, a long word,
// a one-word paragraph, an empty chapter, blank lines and tabs.
BookDocument oddBook() {
    BookDocument book{"Odd | Ends <and> Pieces", "Jos\xE9 \xC9mile Mart\xEDn", {}};
    Chapter first{"r\xE9sum\xE9s and s000 things", {}};
    first.blocks.push_back(
        prose("Caf\xE9 au lait at the caf\xE9, said \xC9mile -- naturally -- with a na\xEFve "
              "smile; the bill read 3|4 <paid> >>> and so on..."));
    first.blocks.push_back(prose("Hello."));
    first.blocks.push_back(prose("The word " + kLongWord + " is long;\tthe line\nwraps   here."));
    first.blocks.push_back(prose("A refpt001> tag and an |b> bold and |9> colour, written as text."));
    first.blocks.push_back(prose("   "));
    book.chapters.push_back(first);
    book.chapters.push_back(Chapter{"Nothing Here", {}});
    book.chapters.push_back(Chapter{"", {prose("\xC9mile came back to the caf\xE9 with \xC9mile's dog.")}});
    return book;
}

struct NamedBook {
    std::string name;
    BookDocument book;
};

const std::vector<NamedBook>& allBooks() {
    static const std::vector<NamedBook> books = {
        {"demo", demoProse()}, {"dialogue", dialogueBook()}, {"verse", verseBook()}, {"odd", oddBook()}};
    return books;
}

const LaidOutText& laidOut(const std::string& name) {
    static std::map<std::string, LaidOutText> cache;
    auto found = cache.find(name);
    if (found != cache.end()) return found->second;
    for (const auto& b : allBooks())
        if (b.name == name) return cache.emplace(name, layOutDocument(b.book)).first->second;
    throw std::runtime_error("no book " + name);
}

// --- Reading stored lines back --------------------------------------------

int indentOf(const std::string& line) {
    if (line.size() < 3 || line[0] != 'l' || !std::isdigit(static_cast<unsigned char>(line[1])) ||
        !std::isdigit(static_cast<unsigned char>(line[2])))
        return -1;
    return (line[1] - '0') * 10 + (line[2] - '0');
}

std::string stripTags(const std::string& body) {
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '|') {
            const auto close = body.find('>', i);
            if (close == std::string::npos) break;
            i = close;
        } else {
            out += body[i];
        }
    }
    return out;
}

// A phrase line: an indent line of the text's body, not a heading, an
// anchor or a paragraph mark.
bool isPhraseLine(const std::string& s) {
    return indentOf(s) >= 0 && s.find("|b>") == std::string::npos && s.find("|n>") == std::string::npos &&
           !holdsAnchorTag(s) && s.rfind(kParagraphLine.substr(0, 6), 0) != 0;
}

struct Phrase {
    std::size_t stored;  // its stored line
    int indent;
    std::string shown;  // tags removed, the final blank too
};

std::vector<Phrase> phrasesOf(const LaidOutText& text) {
    std::vector<Phrase> out;
    for (std::size_t i = 1; i < text.stored.size(); ++i) {
        const std::string& s = text.stored[i];
        if (!isPhraseLine(s)) continue;
        std::string shown = stripTags(s.substr(3));
        if (!shown.empty() && shown.back() == ' ') shown.pop_back();
        out.push_back({i, indentOf(s), shown});
    }
    return out;
}

// What the layout makes of a source text: bars shown as "/", the letters of
// an anchor or a section break parted by a hyphen.
std::string asLaidOut(std::string text) {
    std::replace(text.begin(), text.end(), '|', '/');
    for (const std::string reserved : {"refp", "s000"})
        for (auto at = text.find(reserved); at != std::string::npos; at = text.find(reserved, at + 2))
            text.insert(at + 1, "-");
    return text;
}

// One source token with what the checks need to know about it.
struct SourceWord {
    std::string text;
    bool opensBlock = false;      // first of a prose paragraph
    bool opensVerseLine = false;  // first of a verse line
    bool opensSentence = false;   // follows ".", "!" or "?" and opens with a capital or a quote
    bool verse = false;
    std::string verseLine;  // on a verse line's first word: the whole line
};

std::vector<SourceWord> sourceWords(const BookDocument& book) {
    std::vector<SourceWord> out;
    for (const Chapter& c : book.chapters)
        for (const Block& b : c.blocks) {
            const bool isVerse = b.kind == Block::Kind::Verse;
            std::string joined;
            for (const auto& line : b.lines) {
                const std::vector<std::string> words = splitBlanks(asLaidOut(line));
                for (std::size_t k = 0; k < words.size(); ++k) {
                    SourceWord w;
                    w.text = words[k];
                    w.verse = isVerse;
                    w.opensVerseLine = isVerse && k == 0;
                    if (w.opensVerseLine) {
                        for (const auto& word : words) w.verseLine += (w.verseLine.empty() ? "" : " ") + word;
                    }
                    out.push_back(w);
                }
            }
            // Blocks and sentences of prose.
            if (isVerse) continue;
            bool first = true;
            std::size_t begin = out.size();
            std::size_t count = 0;
            for (const auto& line : b.lines) count += splitBlanks(asLaidOut(line)).size();
            begin -= count;
            for (std::size_t i = begin; i < out.size(); ++i) {
                if (first) out[i].opensBlock = true;
                first = false;
                if (i == begin) continue;
                const std::string& prev = out[i - 1].text;
                std::size_t e = prev.size();
                while (e > 0 && !isWordByte(prev[e - 1])) --e;
                const bool stop = prev.find_first_of(".!?", e) != std::string::npos;
                const std::string& cur = out[i].text;
                std::size_t b0 = 0;
                while (b0 < cur.size() && !isWordByte(cur[b0])) ++b0;
                const bool opens = cur.substr(0, b0).find('"') != std::string::npos ||
                                   (b0 < cur.size() && isCapital(cur[b0]));
                out[i].opensSentence = stop && opens;
            }
        }
    return out;
}

// Each phrase's first source word, by aligning the phrases' words with the
// source's. Fails the test when the words differ.
std::vector<std::size_t> alignPhrases(const std::vector<Phrase>& phrases,
                                      const std::vector<SourceWord>& source, const std::string& name) {
    std::vector<std::size_t> starts;
    std::size_t next = 0;
    for (const Phrase& p : phrases) {
        starts.push_back(next);
        for (const std::string& w : splitBlanks(p.shown)) {
            if (next >= source.size() || source[next].text != w) {
                ADD_FAILURE() << name << ": stored line " << p.stored << " shows \"" << w
                              << "\" where the source has \""
                              << (next < source.size() ? source[next].text : "(end)") << "\"";
                return {};
            }
            ++next;
        }
    }
    EXPECT_EQ(next, source.size()) << name << ": words left out at the end";
    return starts;
}

class EveryBook : public ::testing::TestWithParam<std::string> {
protected:
    const LaidOutText& text() const { return laidOut(GetParam()); }
    const BookDocument& book() const {
        for (const auto& b : allBooks())
            if (b.name == GetParam()) return b.book;
        throw std::runtime_error("no book");
    }
};

INSTANTIATE_TEST_SUITE_P(Books, EveryBook, ::testing::Values("demo", "dialogue", "verse", "odd"),
                         [](const auto& info) { return info.param; });

}  // namespace

// Every word of the source, once and in order; prose paragraphs open at 05,
// a sentence comes back to 05, a continuation steps right; verse lines each
// open a stored line of their own at one indent, wraps deeper.
TEST_P(EveryBook, KeepsEveryWordInOrderAndCascades) {
    const std::vector<Phrase> phrases = phrasesOf(text());
    const std::vector<SourceWord> source = sourceWords(book());
    const std::vector<std::size_t> starts = alignPhrases(phrases, source, GetParam());
    ASSERT_EQ(starts.size(), phrases.size());
    std::set<int> verseIndents;
    std::size_t verseLinesSeen = 0;
    for (std::size_t k = 0; k < phrases.size(); ++k) {
        const Phrase& p = phrases[k];
        const SourceWord& w = source[starts[k]];
        EXPECT_LE(p.indent, 32) << p.shown;
        if (w.verse) {
            if (w.opensVerseLine) {
                verseIndents.insert(p.indent);
                ++verseLinesSeen;
                // A line that fits a phrase is kept whole.
                if (w.verseLine.size() <= 40) {
                    EXPECT_EQ(p.shown, w.verseLine);
                }
            } else {
                EXPECT_GT(p.indent, *verseIndents.begin()) << "a verse line's wrap: " << p.shown;
            }
        } else if (w.opensBlock || w.opensSentence) {
            EXPECT_EQ(p.indent, 5) << GetParam() << ": " << p.shown;
        } else {
            EXPECT_GT(p.indent, 5) << GetParam() << ": a continuation at the left: " << p.shown;
        }
    }
    // Each verse line opens a stored line.
    const auto verseLines =
        std::count_if(source.begin(), source.end(), [](auto& w) { return w.opensVerseLine; });
    EXPECT_EQ(verseLinesSeen, static_cast<std::size_t>(verseLines));
    EXPECT_LE(verseIndents.size(), 1u);
}

// Phrases break where a reader pauses and have a readable length: most
// between 8 and 32 characters, none past 40 unless a single word.
TEST_P(EveryBook, PhrasesHaveAReadableLength) {
    const std::vector<Phrase> phrases = phrasesOf(text());
    const std::vector<SourceWord> source = sourceWords(book());
    const std::vector<std::size_t> starts = alignPhrases(phrases, source, GetParam());
    ASSERT_EQ(starts.size(), phrases.size());
    std::size_t prose = 0, inRange = 0, longest = 0;
    std::size_t badBreaks = 0, breaks = 0;
    for (std::size_t k = 0; k < phrases.size(); ++k) {
        const std::string& s = phrases[k].shown;
        if (s.size() > 40) {
            EXPECT_EQ(s.find(' '), std::string::npos) << "long phrase: " << s;
        }
        if (source[starts[k]].verse) continue;
        ++prose;
        longest = std::max(longest, s.size());
        if (s.size() >= 8 && s.size() <= 32) ++inRange;
        // A phrase never ends on an article or a preposition before the next
        // word of its paragraph.
        if (k + 1 < phrases.size() && !source[starts[k + 1]].opensBlock) {
            ++breaks;
            const std::string last = keyOf(splitBlanks(s).back());
            if (last == "the" || last == "a" || last == "an" || last == "of" || last == "to") ++badBreaks;
        }
    }
    ASSERT_GT(prose, 0u);
    const double share = static_cast<double>(inRange) / static_cast<double>(prose);
    std::printf("[%s] %zu prose phrases, %.1f%% of 8 to 32 characters, the longest %zu\n", GetParam().c_str(),
                prose, 100.0 * share, longest);
    if (GetParam() != "odd") {
        EXPECT_GE(share, 0.9);
    }
    EXPECT_LE(badBreaks * 100, breaks) << "breaks after an article or a preposition";
}

// The line format: header, title, byline, per chapter its anchor and bold
// heading, a page marker and "l00|p> "; markers never adjacent; pages of 6
// to 18 lines but for a chapter's last; the last two lines without a final
// blank; the chapter titles listed.
TEST_P(EveryBook, HasTheStoredFormAndEvenPages) {
    const Lines& s = text().stored;
    ASSERT_GE(s.size(), 4u);
    EXPECT_TRUE(s[0].starts_with("StiloDemoReader "));
    EXPECT_TRUE(s[1].starts_with("l00|b>") && s[1].ends_with("|n> ")) << s[1];
    EXPECT_TRUE(isBylineMarker(s[2]) && s[2].ends_with(" 1 ")) << s[2];
    EXPECT_EQ(s.back(), pageMarker(static_cast<int>(
                            std::count_if(s.begin() + 2, s.end(), [](auto& l) { return isPageMarker(l); }))));
    EXPECT_NE(s[s.size() - 2].back(), ' ');
    const std::size_t chapters = std::min<std::size_t>(book().chapters.size(), 999);
    EXPECT_EQ(text().chapterTitles.size(), chapters);
    int anchors = 0, page = 1;
    std::vector<std::size_t> pageStarts;
    std::vector<bool> pageHoldsAnchor;
    for (std::size_t i = 2; i < s.size(); ++i) {
        const std::string& line = s[i];
        ASSERT_FALSE(line.empty()) << i;
        if (i + 2 < s.size()) {
            EXPECT_TRUE(line.ends_with(" ")) << i << ": " << line;
        }
        if (i + 1 < s.size()) {
            EXPECT_FALSE(isMarkerLine(line) && isMarkerLine(s[i + 1])) << "adjacent markers at " << i;
        }
        if (isPageMarker(line)) {
            if (i > 2) {
                EXPECT_EQ(line.substr(0, line.find(' ')), pageMarker(++page)) << i;
            }
            pageStarts.push_back(i);
            pageHoldsAnchor.push_back(false);
        } else if (beginsSectionBreak(line)) {
            EXPECT_EQ(line, kSectionBreakLine);
        } else {
            ASSERT_GE(indentOf(line), 0) << i << ": " << line;
            if (holdsAnchorTag(line)) {
                ++anchors;
                EXPECT_EQ(line, indentCode(0) + tagText(anchorName(anchors)) + " ");
                EXPECT_TRUE(s[i + 1].starts_with("l00|b>")) << s[i + 1];
                pageHoldsAnchor.back() = true;
                // The heading's lines, then the chapter's page and "l00|p> ".
                std::size_t j = i + 1;
                while (j < s.size() && !s[j].ends_with("|n> ")) ++j;
                ASSERT_LT(j + 2, s.size());
                EXPECT_TRUE(isPageMarker(s[j + 1]));
                EXPECT_EQ(s[j + 2].substr(0, 6), kParagraphLine.substr(0, 6));
            }
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(anchors), chapters);
    // Pages, by their markers: the byline's page holds the first anchor; a
    // chapter's last page runs on to the next chapter's anchor or the end.
    std::vector<std::size_t> lengths;
    for (std::size_t k = 1; k + 1 < pageStarts.size(); ++k) {
        const std::size_t length = pageStarts[k + 1] - pageStarts[k];
        lengths.push_back(length);
        if (pageHoldsAnchor[k] || k + 2 == pageStarts.size()) continue;
        EXPECT_GE(length, 6u) << "page at " << pageStarts[k];
        EXPECT_LE(length, 18u) << "page at " << pageStarts[k];
    }
    if (!lengths.empty()) {
        std::sort(lengths.begin(), lengths.end());
        std::printf("[%s] %zu pages, lengths %zu..%zu, median %zu\n", GetParam().c_str(), lengths.size(),
                    lengths.front(), lengths.back(), lengths[lengths.size() / 2]);
    }
}

// Colour tags pair with "|4>", never nest, and a word has one colour
// everywhere; no other tag opens in a phrase.
TEST_P(EveryBook, ColoursWordsConsistently) {
    std::map<std::string, std::set<int>> colours;  // by word: the colours seen, 0 for none
    for (const std::string& s : text().stored) {
        if (!isPhraseLine(s)) continue;
        for (const std::string& token : splitBlanks(s.substr(3))) {
            int colour = 0;
            std::string plain;
            for (std::size_t i = 0; i < token.size(); ++i) {
                if (token[i] != '|') {
                    plain += token[i];
                    continue;
                }
                ASSERT_LT(i + 2, token.size()) << s;
                ASSERT_EQ(token[i + 2], '>') << s;
                const char what = token[i + 1];
                ASSERT_TRUE(what >= '6' && what <= '9' ? colour == 0 : what == '4' && colour != 0) << s;
                if (what != '4') colour = what - '0';
                i += 2;
            }
            const std::string key = keyOf(plain);
            if (!key.empty()) colours[key].insert(colour);
        }
    }
    int coloured = 0;
    for (const auto& [word, seen] : colours) {
        EXPECT_EQ(seen.size(), 1u) << GetParam() << ": \"" << word << "\" in more than one colour";
        coloured += *seen.begin() != 0 ? 1 : 0;
    }
    EXPECT_GT(coloured, 0);
}

// The reader's way in: header dropped, indent lines normalised. No phrase
// turns into a marker, an anchor or a section break; the index entries
// point at lines that show their word.
TEST_P(EveryBook, OpensThroughTheReaderAndIndexesItsWords) {
    const Lines& stored = text().stored;
    Lines opened(stored.begin() + 1, stored.end());
    for (std::string& line : opened)
        if (isIndentLine(line)) line = normaliseLine(line);
    for (std::size_t i = 0; i < opened.size(); ++i) {
        const std::string& was = stored[i + 1];
        EXPECT_EQ(isMarkerLine(opened[i]), isMarkerLine(was)) << was;
        EXPECT_EQ(isAnchorLine(opened[i]), holdsAnchorTag(was)) << was;
        EXPECT_EQ(holdsSectionBreak(opened[i]), beginsSectionBreak(was)) << was;
    }
    const Lines& index = text().indexLines;
    ASSERT_FALSE(index.empty());
    const LineList tree = prepareIndexLines(LineList(index));
    EXPECT_GT(tree.count(), static_cast<std::int32_t>(index.size()));
    for (const std::string& entry : index) {
        const auto bar = entry.find('|');
        ASSERT_NE(bar, std::string::npos) << entry;
        const std::string word = lowered(entry.substr(0, bar));
        ASSERT_GE(word.size(), 4u) << entry;
        for (std::size_t r = bar; r < entry.size(); r += kShortReferenceLength) {
            ASSERT_EQ(entry[r], '|') << entry;
            const std::string digits = entry.substr(r + 1, kShortReferenceLength - 1);
            ASSERT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << entry;
            const auto line = static_cast<std::size_t>(std::stoi(digits.substr(4)));
            ASSERT_LT(line, opened.size()) << entry;
            EXPECT_NE(lowered(opened[line]).find(word), std::string::npos) << entry << " -> " << opened[line];
        }
    }
}

// --- Edge cases ----------------------------------------------------------

TEST(LayoutEdges, AnEmptyBookGivesItsTitleAlone) {
    for (const BookDocument& book : {BookDocument{"Blank", "Nobody", {}},
                                     BookDocument{"Blank", "Nobody", {Chapter{"", {prose("  ")}}}}}) {
        const LaidOutText text = layOutDocument(book);
        ASSERT_EQ(text.stored.size(), 3u);
        EXPECT_EQ(text.stored[1], "l00|b>Blank|n> ");
        EXPECT_EQ(text.stored[2], "p00by Nobody 1");
        EXPECT_TRUE(text.chapterTitles.empty());
    }
}

TEST(LayoutEdges, OddCharactersStayWordsAndMakeNoTags) {
    const LaidOutText& text = laidOut("odd");
    std::string all;
    for (const std::string& s : text.stored) all += s + "\n";
    // Latin-1 words are whole, in the text and in the index.
    for (const std::string word : {"Caf\xE9", "na\xEFve", "r\xE9sum\xE9s", "\xC9mile"})
        EXPECT_NE(all.find(word), std::string::npos) << word;
    std::set<std::string> entries;
    for (const std::string& e : text.indexLines) entries.insert(e.substr(0, e.find('|')));
    EXPECT_TRUE(entries.count("caf\xE9") && entries.count("\xC9mile") && entries.count("na\xEFve"));
    // "Émile" is a name everywhere, "Émile's" too.
    EXPECT_NE(all.find("|7>\xC9mile|4>"), std::string::npos);
    EXPECT_NE(all.find("|7>\xC9mile's|4>"), std::string::npos);
    // The long word keeps a line of its own; the one-word paragraph too.
    const std::vector<Phrase> phrases = phrasesOf(text);
    EXPECT_TRUE(
        std::any_of(phrases.begin(), phrases.end(), [](const Phrase& p) { return p.shown == kLongWord; }));
    EXPECT_NE(all.find("l05Hello. \n"), std::string::npos);
    // Bars in the source are shown as "/": every bar left opens a tag the
    // layout wrote.
    for (const std::string& s : text.stored)
        for (auto b = s.find('|'); b != std::string::npos; b = s.find('|', b + 1))
            EXPECT_NE(tagAt(s, b), TagKind::Other) << s;
    std::string shown;
    for (const Phrase& p : phrases) shown += p.shown + " ";
    EXPECT_NE(shown.find("3/4 <paid> >>>"), std::string::npos) << shown;
    EXPECT_NE(shown.find("A r-efpt001> tag and an /b> bold"), std::string::npos) << shown;
    // The empty chapter and the untitled one keep their places.
    EXPECT_EQ(text.chapterTitles, (Lines{"r\xE9sum\xE9s and s-000 things", "Nothing Here", "Chapter 3"}));
    EXPECT_NE(all.find("l00|b>Chapter 3|n> \n"), std::string::npos);
}

TEST(LayoutEdges, ChaptersPastTheLastAnchorFoldIntoIt) {
    BookDocument book{"Many", "Someone", {}};
    for (int c = 1; c <= 1001; ++c)
        book.chapters.push_back(
            Chapter{"Part " + std::to_string(c), {prose("Words of part " + std::to_string(c) + ".")}});
    const LaidOutText text = layOutDocument(book);
    EXPECT_EQ(text.chapterTitles.size(), 999u);
    std::string all;
    for (const std::string& s : text.stored) all += s + "\n";
    EXPECT_NE(all.find("l00|refpt999> "), std::string::npos);
    EXPECT_EQ(all.find("refpt1000"), std::string::npos);
    // The folded chapters open a page under their bold heading, in order.
    const auto at1000 = all.find("l00|b>1000.  Part 1000|n> ");
    ASSERT_NE(at1000, std::string::npos);
    EXPECT_LT(all.find("l05Words of part 999. "), at1000);
    EXPECT_LT(at1000, all.find("l00|b>1001.  Part 1001|n> "));
    EXPECT_TRUE(isPageMarker(all.substr(all.rfind('\n', at1000 - 2) + 1)));
    EXPECT_TRUE(all.ends_with("l05Words of part 1001.\n" + pageMarker(1003) + "\n"));
}

// A book of empty, untitled chapters past the last anchor is not a book of
// its title alone: the folded chapter's heading is laid out.
TEST(LayoutEdges, AFoldedChapterHeadingIsLaidOutWithoutWords) {
    BookDocument book{"Quiet", "Someone", {}};
    book.chapters.resize(1000);
    const LaidOutText text = layOutDocument(book);
    EXPECT_EQ(text.chapterTitles.size(), 999u);
    ASSERT_GE(text.stored.size(), 3u);
    EXPECT_EQ(text.stored[text.stored.size() - 3], "l00|b>Chapter 1000|n> ");
    EXPECT_EQ(text.stored[text.stored.size() - 2], "l00|p>");
    EXPECT_EQ(text.stored.back(), pageMarker(1001));
}

// References have five digits for the line and four for the page: what
// lies past them is left out rather than written wrong.
TEST(LayoutEdges, TheIndexLeavesOutLinesPastItsReferences) {
    std::vector<std::string> shown(100003, "");
    std::vector<int> pages(shown.size(), 7);
    shown[1] = "Lantern and lantern";
    shown[100000] = "lantern harbour";  // normalised line 99999: the last that fits
    shown[100001] = "lantern beyond";
    shown[100002] = "faraway";
    const Lines index = buildWordIndex(shown, pages);
    EXPECT_EQ(index, (Lines{"harbour|000799999", "lantern|000700000|000799999"}));
    pages[5] = 10000;
    shown[5] = "paged";
    EXPECT_EQ(buildWordIndex(shown, pages), (Lines{"lantern|000700000"}));
}
