// Plain text: the lines are grouped into paragraphs at blank lines, and each
// paragraph is read as a chapter heading, verse or prose.
#include "CharacterMap.h"
#include "ImportCommon.h"
#include "TextImport.h"
#include "Tokens.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace varnet::import {

namespace {

using detail::ImportFailure;

std::string_view trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && upper(s.substr(0, prefix.size())) == prefix;
}

// The text after a line's leading asterisks, or nothing for a line that
// does not start with one.
std::string markerText(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '*') return {};
    while (!line.empty() && (line.front() == '*' || line.front() == ' ')) line.remove_prefix(1);
    return upper(line);
}

// "*** START OF THE ... ***" and its variants end an e-book archive's header.
bool isStartMarker(std::string_view line) {
    const std::string t = markerText(line);
    return t.starts_with("START OF") || t.starts_with("END*THE SMALL PRINT") ||
           t.starts_with("END THE SMALL PRINT");
}

// "*** END OF THE ... ***" starts its licence footer.
bool isEndMarker(std::string_view line) {
    return markerText(line).starts_with("END OF");
}

// "End of the ... EBook of ..." closing the book just before the footer.
bool isClosingLine(std::string_view line) {
    const std::string u = upper(trim(line));
    return u.starts_with("END OF") &&
           (u.find("EBOOK") != std::string::npos || u.find("E-BOOK") != std::string::npos ||
            u.find("ETEXT") != std::string::npos);
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// A Roman numeral in its usual form ("XII", "XLIV"), not just any word of
// its letters ("CIVIL", "MID").
bool isRoman(std::string_view word) {
    if (word.empty() || word.size() > 12) return false;
    auto digit = [](char c) {
        switch (c) {
            case 'I':
                return 1;
            case 'V':
                return 5;
            case 'X':
                return 10;
            case 'L':
                return 50;
            case 'C':
                return 100;
            case 'D':
                return 500;
            case 'M':
                return 1000;
            default:
                return 0;
        }
    };
    int value = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const int d = digit(word[i]);
        if (d == 0) return false;
        value += i + 1 < word.size() && digit(word[i + 1]) > d ? -d : d;
    }
    if (value <= 0 || value >= 4000) return false;
    static constexpr std::pair<int, const char*> kNumerals[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string canonical;
    for (const auto& [v, text] : kNumerals)
        for (; value >= v; value -= v) canonical += text;
    return canonical == word;
}

bool isNumberWord(std::string_view word) {
    static constexpr std::array<std::string_view, 30> kWords = {
        "ONE",      "TWO",     "THREE",   "FOUR",      "FIVE",     "SIX",     "SEVEN", "EIGHT",
        "NINE",     "TEN",     "ELEVEN",  "TWELVE",    "FIRST",    "SECOND",  "THIRD", "FOURTH",
        "FIFTH",    "SIXTH",   "SEVENTH", "EIGHTH",    "NINTH",    "TENTH",   "LAST",  "THIRTEEN",
        "FOURTEEN", "FIFTEEN", "SIXTEEN", "SEVENTEEN", "EIGHTEEN", "NINETEEN"};
    const std::string u = upper(word);
    return std::find(kWords.begin(), kWords.end(), u) != kWords.end();
}

// "CHAPTER I.", "Chapter 12", "Chapter XII: Title", "BOOK TWO", "PART III",
// a Roman numeral alone, "PROLOGUE"...
bool isStrongHeading(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.size() > 80) return false;
    std::string_view bare = line;
    if (bare.back() == '.') bare.remove_suffix(1);
    if (isRoman(bare)) return true;
    static constexpr std::array<std::string_view, 7> kAlone = {
        "PROLOGUE", "EPILOGUE", "PREFACE", "INTRODUCTION", "CONCLUSION", "FOREWORD", "AFTERWORD"};
    if (std::find(kAlone.begin(), kAlone.end(), upper(bare)) != kAlone.end()) return true;

    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return false;
    static constexpr std::array<std::string_view, 7> kKeywords = {"CHAPTER", "BOOK",  "PART", "VOLUME",
                                                                  "CANTO",   "STAVE", "ACT"};
    const std::string keyword = upper(line.substr(0, space));
    if (std::find(kKeywords.begin(), kKeywords.end(), keyword) == kKeywords.end()) return false;
    if (!std::isupper(static_cast<unsigned char>(line.front()))) return false;
    std::string_view rest = trim(line.substr(space + 1));
    std::size_t end = 0;
    while (end < rest.size() && std::isalnum(static_cast<unsigned char>(rest[end]))) ++end;
    const std::string_view number = rest.substr(0, end);
    const bool numeric = !number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
    if (!numeric && !isRoman(upper(number)) && !isNumberWord(number)) return false;
    // After the number: nothing, or punctuation and a title, or a short title.
    rest.remove_prefix(end);
    return rest.empty() || std::string_view(".:-,;)").find(rest.front()) != std::string_view::npos ||
           (rest.front() == ' ' && rest.size() <= 60);
}

// A short line in capitals: a heading in a book without numbered ones, or
// a chapter's subtitle under its number.
bool isCapitalsLine(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.size() > 60) return false;
    int capitals = 0;
    for (const char c : line) {
        if (!layout::isLetter(c)) continue;
        if (!layout::isUpperLetter(c)) return false;  // a lower-case letter
        ++capitals;
    }
    return capitals >= 2 && line.back() != ',' && line.back() != ';';
}

struct Paragraph {
    std::vector<std::string_view> lines;
};

enum class HeadingKind { None, Strong, Capitals };

struct Item {
    HeadingKind heading = HeadingKind::None;
    std::string title;           // for a heading
    const Paragraph* paragraph;  // for text
};

std::size_t wordCount(const Paragraph& p) {
    std::size_t words = 0;
    for (std::string_view line : p.lines) {
        bool inWord = false;
        for (const char c : line) {
            const bool letter = c != ' ';
            if (letter && !inWord) ++words;
            inWord = letter;
        }
    }
    return words;
}

// Prose rather than a title page or a contents list: a paragraph of some
// length whose lines are not headings.
bool isProse(const Paragraph& p) {
    if (wordCount(p) < 20) return false;
    return !std::all_of(p.lines.begin(), p.lines.end(),
                        [](std::string_view l) { return isStrongHeading(l) || isCapitalsLine(l); });
}

// Poem lines: at least two, every one indented and short.
bool isVerse(const Paragraph& p) {
    if (p.lines.size() < 2) return false;
    return std::all_of(p.lines.begin(), p.lines.end(), [](std::string_view l) {
        return !l.empty() && l.front() == ' ' && trim(l).size() <= 60;
    });
}

std::string joinTitles(const std::string& first, const std::string& second) {
    if (first.empty()) return second;
    const char last = first.back();
    return first + (last == '.' || last == ':' || last == '!' || last == '?' ? " " : ": ") + second;
}

void addText(layout::Chapter& chapter, const Paragraph& p) {
    if (isVerse(p)) {
        std::vector<std::string> lines(p.lines.begin(), p.lines.end());
        detail::addVerse(chapter, lines);
        return;
    }
    std::string text;
    for (std::string_view line : p.lines) {
        if (!text.empty()) text += ' ';
        text += line;
    }
    detail::addParagraph(chapter, text);
}

layout::BookDocument readPlainText(std::string_view bytes, const std::string& name) {
    DecodedText decoded = decodeText(bytes);
    if (!decoded.error.empty()) throw ImportFailure{decoded.error};
    std::vector<std::string_view> lines = splitLines(decoded.text);

    layout::BookDocument book;
    // An e-book archive's header (with the title and author) and licence.
    std::size_t first = 0, last = lines.size();
    const auto start = std::find_if(lines.begin(), lines.end(), isStartMarker);
    if (start != lines.end()) {
        first = static_cast<std::size_t>(start - lines.begin()) + 1;
        for (std::size_t i = 0; i + 1 < first; ++i) {
            const std::string_view line = trim(lines[i]);
            if (book.title.empty() && startsWithNoCase(line, "TITLE:"))
                book.title = trim(line.substr(6));
            else if (book.author.empty() && startsWithNoCase(line, "AUTHOR:"))
                book.author = trim(line.substr(7));
        }
    }
    const auto end =
        std::find_if(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end(), isEndMarker);
    last = static_cast<std::size_t>(end - lines.begin());
    // The closing line a few lines above the footer goes with it.
    for (std::size_t i = last, seen = 0; i > first && seen < 4; --i) {
        if (trim(lines[i - 1]).empty()) continue;
        ++seen;
        if (isClosingLine(lines[i - 1])) last = i - 1;
    }

    std::vector<Paragraph> paragraphs;
    for (std::size_t i = first; i < last; ++i) {
        if (trim(lines[i]).empty()) continue;
        if (i == first || trim(lines[i - 1]).empty()) paragraphs.emplace_back();
        paragraphs.back().lines.push_back(lines[i]);
    }
    // The archive's production credit at the top of the book.
    while (!paragraphs.empty() && (startsWithNoCase(trim(paragraphs.front().lines[0]), "PRODUCED BY") ||
                                   startsWithNoCase(trim(paragraphs.front().lines[0]), "E-TEXT PREPARED BY")))
        paragraphs.erase(paragraphs.begin());

    // Each paragraph as a heading or text. Lines in capitals are headings
    // only in a book without numbered headings; in one with them they are
    // the subtitle under a number.
    std::vector<Item> items;
    bool numbered = false;
    for (const Paragraph& p : paragraphs) {
        Item item{HeadingKind::None, {}, &p};
        const std::string_view line = trim(p.lines[0]);
        if (isStrongHeading(line) &&
            (p.lines.size() == 1 || (p.lines.size() == 2 && isCapitalsLine(p.lines[1])))) {
            item.heading = HeadingKind::Strong;
            item.title = line;
            if (p.lines.size() == 2) item.title = joinTitles(item.title, std::string(trim(p.lines[1])));
            numbered = true;
        } else if (p.lines.size() == 1 && isCapitalsLine(line)) {
            item.heading = HeadingKind::Capitals;
            item.title = line;
        }
        items.push_back(std::move(item));
    }
    if (numbered) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].heading != HeadingKind::Capitals) continue;
            const bool subtitle = i > 0 && items[i - 1].heading == HeadingKind::Strong;
            if (!subtitle) items[i].heading = HeadingKind::None;
        }
    }

    // Runs of headings with no text between them: two make one title ("BOOK
    // ONE: CHAPTER I", "CHAPTER I. THE START"); a longer run is a contents
    // list, of which only the last heading (with its subtitle) stands.
    std::vector<layout::Chapter> chapters;
    layout::Chapter front;
    bool inChapter = false;
    for (std::size_t i = 0; i < items.size();) {
        if (items[i].heading == HeadingKind::None) {
            addText(inChapter ? chapters.back() : front, *items[i].paragraph);
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < items.size() && items[j].heading != HeadingKind::None) ++j;
        std::string title;
        if (j - i <= 2) {
            for (std::size_t k = i; k < j; ++k) title = joinTitles(title, items[k].title);
        } else {
            std::size_t from = j - 1;
            if (items[from].heading == HeadingKind::Capitals &&
                items[from - 1].heading == HeadingKind::Strong)
                --from;
            for (std::size_t k = from; k < j; ++k) title = joinTitles(title, items[k].title);
        }
        chapters.push_back({std::move(title), {}});
        inChapter = true;
        i = j;
    }
    // Text before the first heading is a chapter of its own only when it is
    // prose, not a title page or a contents list.
    bool keepFront = chapters.empty();
    for (const Item& item : items) {
        if (item.heading != HeadingKind::None) break;
        if (isProse(*item.paragraph)) keepFront = true;
    }
    if (keepFront && !front.blocks.empty()) chapters.insert(chapters.begin(), std::move(front));
    book.chapters = std::move(chapters);
    detail::finishBook(book, name);
    return book;
}

}  // namespace

ImportResult importPlainText(std::string_view bytes, const std::string& name) {
    return detail::runImport(name, [&] { return readPlainText(bytes, name); });
}

}  // namespace varnet::import
