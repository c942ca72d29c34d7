#include "IniFile.h"

#include "AtomicFile.h"
#include "StorageTexts.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace varnet {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

char lowerAsciiChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAsciiChar(a[i]) != lowerAsciiChar(b[i])) return false;
    return true;
}

// Offsets of the blank-trimmed part of text[from, to).
std::pair<std::size_t, std::size_t> trimmedSpan(std::string_view text, std::size_t from, std::size_t to) {
    while (from < to && isBlank(text[from])) ++from;
    while (to > from && isBlank(text[to - 1])) --to;
    return {from, to};
}

enum class Kind { other, header, key };

// One line of the file: its text runs from begin to end, its line end (if
// any) from end to next. For a header, name is the section's name; for a key
// line, name is the key and [valueBegin, valueEnd) the value's trimmed text.
struct Line {
    std::size_t begin = 0, end = 0, next = 0;
    Kind kind = Kind::other;
    std::string_view name;
    std::size_t valueBegin = 0, valueEnd = 0;
};

Line classify(std::string_view bytes, std::size_t begin, std::size_t end, std::size_t next) {
    Line line;
    line.begin = begin;
    line.end = end;
    line.next = next;
    const auto [b, e] = trimmedSpan(bytes, begin, end);
    if (b == e || bytes[b] == ';') return line;
    if (e - b >= 2 && bytes[b] == '[' && bytes[e - 1] == ']') {
        const auto [nb, ne] = trimmedSpan(bytes, b + 1, e - 1);
        line.kind = Kind::header;
        line.name = bytes.substr(nb, ne - nb);
        return line;
    }
    // Look for "=" within the line only: searching on into the rest of the
    // file would make a long file of lines without one quadratic to read.
    const std::size_t found = bytes.substr(b, e - b).find('=');
    if (found == std::string_view::npos) return line;
    const std::size_t eq = b + found;
    const auto [kb, ke] = trimmedSpan(bytes, b, eq);
    if (kb == ke) return line;
    line.kind = Kind::key;
    line.name = bytes.substr(kb, ke - kb);
    const auto [vb, ve] = trimmedSpan(bytes, eq + 1, end);
    line.valueBegin = vb;
    line.valueEnd = ve;
    if (vb == ve) line.valueBegin = line.valueEnd = eq + 1;  // empty value: digits go right after "="
    return line;
}

std::vector<Line> scanLines(std::string_view bytes) {
    std::vector<Line> lines;
    const std::size_t n = bytes.size();
    std::size_t begin = 0;
    std::size_t i = 0;
    while (i < n) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        const std::size_t end = i;
        i += (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ? 2 : 1;
        lines.push_back(classify(bytes, begin, end, i));
        begin = i;
    }
    if (begin < n) lines.push_back(classify(bytes, begin, n, n));
    return lines;
}

// Where a key stands in the file: the section's header line (npos when the
// section is missing), the key's line (npos when missing) and the last key
// line of the section (npos when it holds none).
struct Place {
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t header = none, key = none, lastKey = none;
};

Place locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    std::size_t i = 0;
    while (i < lines.size() && !(lines[i].kind == Kind::header && sameName(lines[i].name, section))) ++i;
    if (i == lines.size()) return place;
    place.header = i;
    for (++i; i < lines.size() && lines[i].kind != Kind::header; ++i) {
        if (lines[i].kind != Kind::key) continue;
        place.lastKey = i;
        if (place.key == Place::none && sameName(lines[i].name, key)) place.key = i;
    }
    return place;
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned base = 10;
    if (text.size() - i > 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    // One past the largest magnitude a 32-bit number can have, 2^31.
    constexpr std::uint64_t limit = std::uint64_t{1} << 31;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return std::nullopt;
    }
    if (!negative && magnitude == limit) return std::nullopt;
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

std::string keyLine(std::string_view key, std::int32_t value) {
    std::string line(key);
    line += '=';
    line += std::to_string(value);
    line += kLineEnd;
    return line;
}

std::string spliced(std::string_view bytes, std::size_t from, std::size_t to, std::string_view insert) {
    std::string out;
    out.reserve(bytes.size() - (to - from) + insert.size());
    out.append(bytes.substr(0, from)).append(insert).append(bytes.substr(to));
    return out;
}

}  // namespace

std::int32_t IniFile::readInteger(std::string_view bytes, std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) {
    const auto lines = scanLines(bytes);
    const Place place = locate(lines, section, key);
    if (place.key == Place::none) return defaultValue;
    const Line& line = lines[place.key];
    return parseInteger(bytes.substr(line.valueBegin, line.valueEnd - line.valueBegin))
        .value_or(defaultValue);
}

std::string IniFile::writeInteger(std::string_view bytes, std::string_view section, std::string_view key,
                                  std::int32_t value) {
    const auto lines = scanLines(bytes);
    const Place place = locate(lines, section, key);

    if (place.key != Place::none) {
        const Line& line = lines[place.key];
        return spliced(bytes, line.valueBegin, line.valueEnd, std::to_string(value));
    }

    if (place.header != Place::none) {
        const Line& after = lines[place.lastKey != Place::none ? place.lastKey : place.header];
        std::string insert = keyLine(key, value);
        // Only the file's last line can lack a line end; it gets one so the
        // new line starts a line of its own.
        if (after.next == after.end) insert.insert(0, kLineEnd);
        return spliced(bytes, after.next, after.next, insert);
    }

    std::string out(bytes);
    if (!out.empty() && out.back() != '\r' && out.back() != '\n') out += kLineEnd;
    out.append(1, '[').append(section).append(1, ']').append(kLineEnd);
    out += keyLine(key, value);
    return out;
}

std::int32_t IniFile::readIntegerFromFile(const std::string& path, std::string_view section,
                                          std::string_view key, std::int32_t defaultValue) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) return defaultValue;
    return readInteger(bytes, section, key, defaultValue);
}

bool IniFile::writeIntegerToFile(const std::string& path, std::string_view section, std::string_view key,
                                 std::int32_t value, std::string& error) {
    const std::string name(key);
    const std::pair<const char*, std::int32_t> one[] = {{name.c_str(), value}};
    return writeIntegersToFile(path, section, one, error);
}

bool IniFile::writeIntegersToFile(const std::string& path, std::string_view section,
                                  std::span<const std::pair<const char*, std::int32_t>> keys,
                                  std::string& error) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        // Nothing at the path (or a link to nothing): the file is created.
        // A file that is there but cannot be read is not overwritten blind.
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 || errno != ENOENT) {
            error = kUnableToWriteTo + path;
            return false;
        }
        bytes.clear();
    }
    for (const auto& [key, value] : keys) bytes = writeInteger(bytes, section, key, value);
    if (!AtomicFile::write(path, bytes)) {
        error = kUnableToWriteTo + path;
        return false;
    }
    return true;
}

}  // namespace varnet
