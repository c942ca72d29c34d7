// Working with lines of the line format (its codes and tags are named in
// LineFormat.h, which this header brings along): normalising stored lines,
// removing tags; and the small text helpers the readers of side files share.
#pragma once

#include "LineFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnet {

// An indent line ("l" + two digits + body) becomes its indent in blanks and
// its body; every other line is returned unchanged. A code cut short or not
// made of digits gives the indent of the digits that open it (none: 0).
std::string normaliseLine(std::string_view stored);

// The two halves of normalising an indent line: the blanks its code asks
// for, and where the body after the code starts.
struct IndentCode {
    std::size_t blanks;
    std::size_t bodyStart;
};
IndentCode readIndentCode(std::string_view indentLine);

// Removes every bar together with the two characters after it (fewer when the
// line ends sooner): three-character tags go whole, longer tags lose their
// first three characters.
std::string removeTags(std::string_view line);

// Removes characters with codes 0 to 32 from both ends.
std::string_view trimmed(std::string_view text);

// Changes only the letters A to Z.
std::string lowerAscii(std::string_view text);

// A whole decimal number in 32 bits, with an optional sign; nothing else
// (no blanks, no other characters) is accepted.
std::optional<std::int32_t> parseInteger(std::string_view text);

// "'" + text + "' is not a valid integer value": the message for a number in
// a hand-edited file that does not parse.
std::string notAnIntegerMessage(std::string_view text);

// The line number of a bookmark line ("#" + number + " " + name): the
// characters after the first up to the first blank, or to the end of a line
// without one. `numberText` receives them for the error message.
std::optional<std::int32_t> bookmarkLineNumber(std::string_view line, std::string* numberText = nullptr);

}  // namespace varnet
