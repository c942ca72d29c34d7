// The line format every text is held in: stored lines open with a code
// ("lNN" indent, "p" page marker, "s000" section break); normalised lines have
// the indent code turned into blanks. Inline tags start with "|".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnet {

// Indents above this many blanks are cut to it when a line is normalised.
constexpr int kMaxIndent = 52;

// An indent line ("l" + two digits + body) becomes its indent in blanks and
// its body; every other line is returned unchanged. A code cut short or not
// made of digits gives the indent of the digits that open it (none: 0).
std::string normaliseLine(std::string_view stored);

// Kinds of a normalised line, as the renderer and paging recognise them.
inline bool isPageMarker(std::string_view line) { return !line.empty() && line[0] == 'p'; }
inline bool beginsSectionBreak(std::string_view line) { return !line.empty() && line[0] == 's'; }
inline bool holdsSectionBreak(std::string_view line) { return line.find("s000") != std::string_view::npos; }
inline bool isAnchorLine(std::string_view line) { return line.find("refp") != std::string_view::npos; }

// Where a panel may end: before a near-empty line, a page marker, a section
// break, or a line that opens with "r".
inline bool isPanelBreakPoint(std::string_view line) {
    return line.size() < 3 || line[0] == 'p' || line[0] == 'r' || line[0] == 's';
}

// Where paging back stops its forward search.
inline bool isPageBackStop(std::string_view line) {
    return line.size() <= 1 || line[0] == 'p' || line[0] == 's';
}

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
