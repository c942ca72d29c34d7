#include "TextFormat.h"

#include <charconv>

namespace varnet {

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

IndentCode readIndentCode(std::string_view stored) {
    // The code is "l" and two digits. A cut-off or malformed code ("l",
    // "l0", "lx5") reads the digits that open it and never past the end.
    int indent = 0;
    for (std::size_t k = 1; k < kIndentCodeLength && k < stored.size() && isDigit(stored[k]); ++k)
        indent = indent * 10 + (stored[k] - '0');
    if (indent > kMaxIndent) indent = kMaxIndent;
    return {static_cast<std::size_t>(indent),
            stored.size() < kIndentCodeLength ? stored.size() : kIndentCodeLength};
}

std::string normaliseLine(std::string_view stored) {
    if (!isIndentLine(stored)) return std::string(stored);
    const IndentCode code = readIndentCode(stored);
    std::string out(code.blanks, ' ');
    out.append(stored.substr(code.bodyStart));
    return out;
}

std::string removeTags(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == kTagBar) {
            i += kShortTagLength;
        } else {
            out += line[i];
            ++i;
        }
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return text.substr(b, e - b);
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return std::nullopt;
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string notAnIntegerMessage(std::string_view text) {
    std::string message(1, '\'');
    message.append(text).append("' is not a valid integer value");
    return message;
}

std::optional<std::int32_t> bookmarkLineNumber(std::string_view line, std::string* numberText) {
    std::string_view text;
    if (line.size() > 1) {
        const auto blank = line.find(' ', 1);
        text = line.substr(1, blank == std::string_view::npos ? std::string_view::npos : blank - 1);
    }
    if (numberText) *numberText = std::string(text);
    return parseInteger(text);
}

}  // namespace varnet
