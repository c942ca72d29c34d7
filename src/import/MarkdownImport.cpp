// Markdown: the block structure (headings, paragraphs, lists, quotes, code)
// read line by line, the inline markup stripped from the text.
#include "CharacterMap.h"
#include "ImportCommon.h"
#include "TextImport.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace varnet::import {

namespace {

using detail::ImportFailure;

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::size_t indentOf(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return i;
}

bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || u >= 0xC0;
}

constexpr std::size_t kLongestLink = 2000;

// The end of a bracketed run starting at `open` (the index of its closing
// bracket), nested brackets counted; npos when it is not closed.
std::size_t closing(std::string_view s, std::size_t open, char opener, char closer) {
    int depth = 0;
    // A link's text and address are short: the search stops after a while,
    // so a long run of unmatched brackets costs linear time, not quadratic.
    const std::size_t end = std::min(s.size(), open + kLongestLink);
    for (std::size_t i = open; i < end; ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s[i] == opener) {
            ++depth;
        } else if (s[i] == closer && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The text of a line of inline Markdown: emphasis and code markers removed,
// links as their text, images dropped, escapes resolved.
std::string inlineText(std::string_view s, int depth = 0) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size() && std::ispunct(static_cast<unsigned char>(s[i + 1]))) {
            out += s[++i];
        } else if ((c == '[' || (c == '!' && i + 1 < s.size() && s[i + 1] == '[')) && depth < 8) {
            const bool image = c == '!';
            const std::size_t open = image ? i + 1 : i;
            const std::size_t close = closing(s, open, '[', ']');
            if (close == std::string_view::npos) {
                out += c;
                continue;
            }
            std::size_t after = close + 1;
            if (after < s.size() && (s[after] == '(' || s[after] == '[')) {
                const std::size_t end = closing(s, after, s[after], s[after] == '(' ? ')' : ']');
                if (end != std::string_view::npos) after = end + 1;
            } else if (image) {
                out += c;
                continue;
            }
            if (!image) out += inlineText(s.substr(open + 1, close - open - 1), depth + 1);
            i = after - 1;
        } else if (c == '<' &&
                   (s.substr(i + 1).starts_with("http") || s.substr(i + 1).starts_with("mailto:"))) {
            const std::size_t end = s.substr(0, std::min(s.size(), i + kLongestLink)).find('>', i);
            if (end == std::string_view::npos) {
                out += c;
            } else {
                out += s.substr(i + 1, end - i - 1);
                i = end;
            }
        } else if (c == '*' || c == '`' || (c == '~' && i + 1 < s.size() && s[i + 1] == '~')) {
            if (c == '~') ++i;
        } else if (c == '_') {
            // An underscore inside a word is a letter of it, not emphasis.
            const bool inside = i > 0 && i + 1 < s.size() && isWordChar(s[i - 1]) && isWordChar(s[i + 1]);
            if (inside) out += c;
        } else {
            out += c;
        }
    }
    return out;
}

int atxLevel(std::string_view line, std::string_view& text) {
    if (indentOf(line) > 3) return 0;
    line = trim(line);
    int level = 0;
    while (level < static_cast<int>(line.size()) && line[static_cast<std::size_t>(level)] == '#') ++level;
    if (level == 0 || level > 6) return 0;
    if (static_cast<std::size_t>(level) < line.size() && line[static_cast<std::size_t>(level)] != ' ')
        return 0;
    text = trim(line.substr(static_cast<std::size_t>(level)));
    // A closing run of '#' is not part of the heading.
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == '#') --end;
    if (end == 0 || text[end - 1] == ' ') text = trim(text.substr(0, end));
    return level;
}

// A line of one repeated character (with spaces between allowed when
// `spaced`), at least `min` of them.
bool isRuleOf(std::string_view line, char c, std::size_t min, bool spaced) {
    if (indentOf(line) > 3) return false;
    line = trim(line);
    std::size_t count = 0;
    for (const char ch : line) {
        if (ch == c)
            ++count;
        else if (!(spaced && ch == ' '))
            return false;
    }
    return count >= min;
}

// The text of a list item's first line, or npos when the line is not one.
std::size_t listItemStart(std::string_view line) {
    std::size_t i = indentOf(line);
    if (i >= line.size()) return std::string_view::npos;
    if (line[i] == '-' || line[i] == '*' || line[i] == '+') {
        ++i;
    } else {
        const std::size_t digits = i;
        while (i < line.size() && i - digits < 9 && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
        if (i == digits || i >= line.size() || (line[i] != '.' && line[i] != ')'))
            return std::string_view::npos;
        ++i;
    }
    if (i < line.size() && line[i] != ' ') return std::string_view::npos;
    return std::min(line.size(), i + 1);
}

struct MdBlock {
    enum class Kind { Paragraph, Verse, Heading } kind;
    int level = 0;
    std::vector<std::string> lines;
};

std::string unquote(std::string_view value) {
    value = trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

layout::BookDocument readMarkdown(std::string_view bytes, const std::string& name) {
    DecodedText decoded = decodeText(bytes);
    if (!decoded.error.empty()) throw ImportFailure{decoded.error};
    const std::string& text = decoded.text;

    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(std::string_view(text).substr(start, end - start));
        start = end + 1;
    }

    layout::BookDocument book;
    std::size_t first = 0;
    // YAML front matter: its title and author.
    if (!lines.empty() && trim(lines[0]) == "---") {
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string_view l = trim(lines[i]);
            if (l == "---" || l == "...") {
                for (std::size_t k = 1; k < i; ++k) {
                    const std::string_view entry = lines[k];
                    const std::size_t colon = entry.find(':');
                    if (colon == std::string_view::npos) continue;
                    const std::string_view key = trim(entry.substr(0, colon));
                    if (key == "title") book.title = unquote(entry.substr(colon + 1));
                    if (key == "author") book.author = unquote(entry.substr(colon + 1));
                }
                first = i + 1;
                break;
            }
        }
    }

    std::vector<MdBlock> blocks;
    std::vector<std::string> paragraph;  // raw lines of the open paragraph
    bool hardBreaks = false;
    // The open paragraph's lines as one line of text.
    auto joinedParagraph = [&] {
        std::string joined;
        for (const std::string& l : paragraph) joined.append(l).append(" ");
        return inlineText(joined);
    };
    auto flush = [&] {
        if (paragraph.empty()) return;
        MdBlock b{hardBreaks ? MdBlock::Kind::Verse : MdBlock::Kind::Paragraph, 0, {}};
        if (hardBreaks) {
            for (const std::string& l : paragraph) b.lines.push_back(inlineText(l));
        } else {
            b.lines.push_back(joinedParagraph());
        }
        blocks.push_back(std::move(b));
        paragraph.clear();
        hardBreaks = false;
    };

    std::string fence;  // the open code fence's marker
    std::vector<std::string> code;
    auto flushCode = [&] {
        if (!code.empty()) blocks.push_back({MdBlock::Kind::Verse, 0, std::move(code)});
        code.clear();
    };
    bool inComment = false;
    for (std::size_t i = first; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (!fence.empty()) {
            const std::string_view t = trim(line);
            if (t.starts_with(fence) && t.find_first_not_of(fence[0]) == std::string_view::npos) {
                flushCode();
                fence.clear();
            } else if (t.empty()) {
                flushCode();  // a blank line separates stanzas
            } else {
                code.emplace_back(line);
            }
            continue;
        }
        if (inComment) {
            if (line.find("-->") != std::string_view::npos) inComment = false;
            continue;
        }
        // A quote's text reads as any other.
        while (indentOf(line) <= 3 && !trim(line).empty() && trim(line).front() == '>') {
            line = trim(line).substr(1);
            if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        }
        const std::string_view t = trim(line);
        std::string_view headingText;
        if (t.empty()) {
            flush();
        } else if (t.starts_with("```") || t.starts_with("~~~")) {
            flush();
            fence = std::string(3, t[0]);
        } else if (t.starts_with("<!--")) {
            flush();
            inComment = t.find("-->", 4) == std::string_view::npos;
        } else if (const int level = atxLevel(line, headingText); level > 0) {
            flush();
            blocks.push_back({MdBlock::Kind::Heading, level, {inlineText(headingText)}});
        } else if (!paragraph.empty() && !hardBreaks &&
                   (isRuleOf(line, '=', 1, false) || isRuleOf(line, '-', 1, false))) {
            // The paragraph above an underline is a heading: "=" level 1, "-" 2.
            blocks.push_back({MdBlock::Kind::Heading, t.front() == '=' ? 1 : 2, {joinedParagraph()}});
            paragraph.clear();
        } else if (isRuleOf(line, '-', 3, true) || isRuleOf(line, '*', 3, true) ||
                   isRuleOf(line, '_', 3, true)) {
            flush();
        } else if (t.front() == '[' && t.find("]:") != std::string_view::npos && t.find("]:") > 1) {
            flush();  // a link's reference definition
        } else {
            std::string_view content = line;
            if (const std::size_t item = listItemStart(line); item != std::string_view::npos) {
                flush();
                content = line.substr(item);
            }
            // Two trailing spaces or a backslash end a line with a break.
            std::string_view kept = content;
            bool brk = false;
            if (kept.size() >= 2 && kept.ends_with("  ")) brk = true;
            while (!kept.empty() && (kept.back() == ' ' || kept.back() == '\t')) kept.remove_suffix(1);
            if (!kept.empty() && kept.back() == '\\') {
                brk = true;
                kept.remove_suffix(1);
            }
            paragraph.emplace_back(trim(kept));
            // A break inside the paragraph (not after its last line) makes
            // its lines verse; seen when the next line joins.
            if (brk && i + 1 < lines.size() && !trim(lines[i + 1]).empty()) hardBreaks = true;
        }
    }
    flush();
    flushCode();

    // The chapters' heading level: a single leading top heading is the
    // book's title; of the rest, the highest level that occurs more than
    // once (or the highest there is).
    std::map<int, int> levels;
    for (const MdBlock& b : blocks)
        if (b.kind == MdBlock::Kind::Heading) ++levels[b.level];
    std::size_t titleIndex = blocks.size();
    const auto firstHeading = std::find_if(blocks.begin(), blocks.end(),
                                           [](const MdBlock& b) { return b.kind == MdBlock::Kind::Heading; });
    if (firstHeading != blocks.end() && firstHeading->level == 1 && levels.at(1) == 1) {
        if (book.title.empty()) book.title = firstHeading->lines[0];
        titleIndex = static_cast<std::size_t>(firstHeading - blocks.begin());
        levels.erase(1);
    }
    int chapterLevel = 0;
    for (const auto& [level, count] : levels) {
        if (count > 1) {
            chapterLevel = level;
            break;
        }
    }
    if (chapterLevel == 0 && !levels.empty()) chapterLevel = levels.begin()->first;

    std::vector<layout::Chapter>& chapters = book.chapters;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i == titleIndex) continue;
        const MdBlock& b = blocks[i];
        if (b.kind == MdBlock::Kind::Heading && b.level <= chapterLevel) {
            // A heading right under another joins its title.
            if (!chapters.empty() && chapters.back().blocks.empty() && !chapters.back().title.empty())
                chapters.back().title += ": " + b.lines[0];
            else
                chapters.push_back({b.lines[0], {}});
            continue;
        }
        if (chapters.empty()) chapters.emplace_back();
        if (b.kind == MdBlock::Kind::Verse)
            detail::addVerse(chapters.back(), b.lines);
        else
            detail::addParagraph(chapters.back(), b.lines[0]);
    }
    detail::finishBook(book, name);
    return book;
}

}  // namespace

ImportResult importMarkdown(std::string_view bytes, const std::string& name) {
    return detail::runImport(name, [&] { return readMarkdown(bytes, name); });
}

}  // namespace varnet::import
