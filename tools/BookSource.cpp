#include "BookSource.h"

#include "BookFigures.h"
#include "LineFormat.h"
#include "StoredLines.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace varnet::laybook {

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Lines split at CR LF, CR or LF, trailing white space removed.
std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    for (auto& l : lines)
        while (!l.empty() && (l.back() == ' ' || l.back() == '\t')) l.pop_back();
    return lines;
}

// The stored form has no room for some characters: a bar opens a tag, bytes
// outside printable ASCII have no agreed look, and the letters "refp" and
// "s000" would turn a phrase into an anchor or a section break. Each is
// replaced, and the replacement is reported.
std::string mend(const std::string& text, const std::string& where, std::vector<std::string>& warnings) {
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\t') {
            out += ' ';
        } else if (c == varnet::kTagBar) {
            out += '/';
            warnings.push_back(where + ": a bar replaced by '/'");
        } else if (u < 32 || u > 126) {
            out += '?';
            char code[8];
            std::snprintf(code, sizeof code, "%02X", u);
            warnings.push_back(where + ": byte 0x" + code + " replaced by '?'");
        } else {
            out += c;
        }
    }
    for (const std::string_view banned : layout::breakReservedLetters(out))
        warnings.push_back(where + ": \"" + std::string(banned) + "\" broken by a hyphen");
    // Runs of blanks become one blank.
    std::string single;
    for (char c : out)
        if (c != ' ' || (!single.empty() && single.back() != ' ')) single += c;
    while (!single.empty() && single.back() == ' ') single.pop_back();
    return single;
}

Part readPart(const std::filesystem::path& path, std::vector<std::string>& warnings) {
    const std::vector<std::string> lines = splitLines(readFile(path));
    Part part;
    part.file = path.filename().string();
    std::size_t i = 0;
    while (i < lines.size() && lines[i].empty()) ++i;
    if (i == lines.size()) throw std::runtime_error(part.file + ": no title");
    part.title = mend(lines[i], part.file + ":" + std::to_string(i + 1), warnings);
    ++i;
    part.fables.emplace_back();
    std::string paragraph;
    auto flush = [&] {
        if (!paragraph.empty()) part.fables.back().paragraphs.push_back(parseParagraph(paragraph));
        paragraph.clear();
    };
    for (; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty()) {
            flush();
        } else if (line == "*") {
            flush();
            if (!part.fables.back().paragraphs.empty()) part.fables.emplace_back();
        } else {
            // A paragraph is one line; a writer's wrapped lines are joined.
            if (!paragraph.empty()) paragraph += ' ';
            paragraph += mend(line, part.file + ":" + std::to_string(i + 1), warnings);
        }
    }
    flush();
    if (part.fables.back().paragraphs.empty()) part.fables.pop_back();
    if (part.fables.empty()) throw std::runtime_error(part.file + ": no text");
    return part;
}

}  // namespace

std::size_t Fable::characters() const {
    std::size_t n = 0;
    for (const auto& p : paragraphs) n += p.characters();
    return n;
}

BookSource readBookSource(const std::filesystem::path& folder) {
    BookSource book;
    const std::vector<std::string> meta = splitLines(readFile(folder / "meta.txt"));
    for (const auto& line : meta) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const std::string value = mend(line.substr(eq + 1), "meta.txt " + key, book.warnings);
        if (key == "header") book.header = value;
        if (key == "title") book.title = value;
        if (key == "author") book.author = value;
        if (key == "entry") book.entry = value;
    }
    if (book.header.rfind("StiloDemoReader ", 0) != 0)
        throw std::runtime_error("meta.txt: the header must begin with \"StiloDemoReader \"");
    if (book.title.empty() || book.author.empty())
        throw std::runtime_error("meta.txt: title or author missing");
    book.introduction = readPart(folder / "intro.txt", book.warnings);
    for (int n = 1; n <= kChapters; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "chapter%02d.txt", n);
        book.chapters.push_back(readPart(folder / name, book.warnings));
    }
    return book;
}

}  // namespace varnet::laybook
