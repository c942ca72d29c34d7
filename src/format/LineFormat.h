// The vocabulary of the line format every text is held in, in one place for
// the reader and the layout tool alike.
//
// A stored line opens with a code: "lNN" (an indent line: two digits of
// indent, then the body), "p" (a page marker: "p" and a number of at least
// three digits, or the byline marker "p00by "), or "s000" (a section break).
// Inside a line, a bar opens a tag: the bar, a letter or digit saying what
// the tag does, and the ">" that closes it ("|b>", "|7>", "|refpt001>").
// Normalised lines (indent codes turned into blanks) keep the tags and the
// markers as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnet {

// --- Line codes -----------------------------------------------------------

inline constexpr char kIndentCode = 'l';
inline constexpr char kPageCode = 'p';
inline constexpr char kSectionCode = 's';
// A line that opens with this letter is also a place where a panel may end.
inline constexpr char kReferenceCode = 'r';

// "l" and two digits.
inline constexpr std::size_t kIndentCodeLength = 3;
// Indents above this many blanks are cut to it when a line is normalised.
inline constexpr int kMaxIndent = 52;

inline constexpr std::string_view kSectionBreak = "s000";
// The section break as a stored line holds it.
inline constexpr std::string_view kSectionBreakLine = "s000 ";
// The marker that carries the book's byline, in the place of page 1's marker.
inline constexpr std::string_view kBylineMarker = "p00by ";

// --- Tags -----------------------------------------------------------------

inline constexpr char kTagBar = '|';
inline constexpr char kTagClose = '>';
// What removing a tag takes away: the bar and the two characters after it.
inline constexpr std::size_t kShortTagLength = 3;

// The characters after the bar.
inline constexpr char kFixedFaceTag = 'f';
inline constexpr char kSerifFaceTag = 'a';
inline constexpr char kBoldTag = 'b';
inline constexpr char kNormalTag = 'n';  // plain style in the serif face
inline constexpr char kItalicTag = 'i';  // "|i>"
inline constexpr char kUnderlineTag = 'u';
inline constexpr std::string_view kImageTag = "im";  // "|im...>" and a file name
inline constexpr char kParagraphTag = 'p';           // "|p>": a paragraph opens
inline constexpr char kFirstColourTag = '1';         // "|1>" .. "|9>": colour 1 to 9 of the band
inline constexpr char kLastColourTag = '9';
// The colour of body text: the tag that closes every other colour.
inline constexpr char kBodyColourTag = '4';

// The letters that make a tag an anchor wherever they stand in a line; a
// whole anchor tag is "|refpt" and a three-digit number ("|refpt001>").
inline constexpr std::string_view kAnchorLetters = "refp";
inline constexpr std::string_view kAnchorPrefix = "refpt";
inline constexpr std::string_view kAnchorTagOpening = "|refpt";

// Whole tags as the layout writes them.
inline constexpr std::string_view kFixedFaceSwitch = "|f>";
inline constexpr std::string_view kBoldOpening = "|b>";
inline constexpr std::string_view kNormalOpening = "|n>";
inline constexpr std::string_view kBodyColourOpening = "|4>";
// The indent line that opens a paragraph of the text.
inline constexpr std::string_view kParagraphLine = "l00|p> ";

// What the tag at a bar does, as the characters after the bar say it.
enum class TagKind {
    None,    // no bar at the position
    Colour,  // a digit 1 to 9
    FixedFace,
    SerifFace,
    Bold,
    Normal,
    Italic,  // "i" and ">"
    Underline,
    Image,      // "i" and "m"
    Paragraph,  // "p" and ">"
    Anchor,     // "refp"
    Other,      // a bar followed by anything else, or by nothing
};

// The kind of the tag whose bar stands at `position`.
TagKind tagAt(std::string_view line, std::size_t position);

// The colour number (1 to 9) of the colour tag at `position`; 0 when the tag
// there is not a colour tag.
int tagColour(std::string_view line, std::size_t position);

// "|" + name + ">".
std::string tagText(std::string_view name);
// "refpt" and the number in three digits (more when it needs them).
std::string anchorName(int number);
// "l" and the indent in two digits.
std::string indentCode(int indent);
// "p" and the page number in three digits (more when it needs them).
std::string pageMarker(int page);

// --- Kinds of lines -------------------------------------------------------

// Opens with "p": a page marker, the byline marker included.
inline bool isPageMarker(std::string_view line) {
    return !line.empty() && line[0] == kPageCode;
}
// "p" and a digit: a page marker with its number (the byline marker too).
inline bool isNumberedPageMarker(std::string_view line) {
    return line.size() > 1 && line[0] == kPageCode && line[1] >= '0' && line[1] <= '9';
}
inline bool isBylineMarker(std::string_view line) {
    return line.starts_with(kBylineMarker);
}
inline bool beginsSectionBreak(std::string_view line) {
    return !line.empty() && line[0] == kSectionCode;
}
inline bool holdsSectionBreak(std::string_view line) {
    return line.find(kSectionBreak) != std::string_view::npos;
}
// A page marker or a section break.
inline bool isMarkerLine(std::string_view line) {
    return isPageMarker(line) || beginsSectionBreak(line);
}
// The letters a line may not open with unless it is meant as a marker or a
// panel break: "p", "r" and "s".
inline bool isMarkerLetter(char c) {
    return c == kPageCode || c == kReferenceCode || c == kSectionCode;
}

// A stored indent line ("l" and its code).
inline bool isIndentLine(std::string_view line) {
    return !line.empty() && line[0] == kIndentCode;
}

// Holds the letters of an anchor anywhere: the renderer drops everything up
// to the tag's close on such a line.
inline bool isAnchorLine(std::string_view line) {
    return line.find(kAnchorLetters) != std::string_view::npos;
}
// Holds the opening of a whole anchor tag.
inline bool holdsAnchorTag(std::string_view line) {
    return line.find(kAnchorTagOpening) != std::string_view::npos;
}
// Switches to the fixed-pitch face somewhere.
inline bool switchesToFixedFace(std::string_view line) {
    return line.find(kFixedFaceSwitch) != std::string_view::npos;
}
// Holds an image tag, read tag by tag as the tag step and the renderer read
// them: a bar and the two characters after it make one tag, so a bar inside
// another tag opens none, and a ">" among the words is no part of a tag.
bool holdsImageTag(std::string_view line);

// Where a panel may end: before a near-empty line, a page marker, a section
// break, or a line that opens with "r".
inline bool isPanelBreakPoint(std::string_view line) {
    return line.size() < 3 || isMarkerLetter(line[0]);
}

// Where paging back stops its forward search.
inline bool isPageBackStop(std::string_view line) {
    return line.size() <= 1 || isMarkerLine(line);
}

}  // namespace varnet
