#include "SaveScreen.h"

#include "TextFormat.h"

#include <algorithm>
#include <string_view>

namespace varnet {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A line that held an anchor tag; after the tag step it would keep the tag's
// remainder ("fpt001> "), which is no word of the text.
bool heldAnchorTag(std::string_view line) {
    return line.find("|refpt") != std::string_view::npos;
}

// Markers open the line themselves: a "p" or "s" that only follows a tag
// ("|b>p4", "|7>seal|4>") begins words of the text, which are kept.
bool isLeftOut(std::string_view line, std::string_view untagged) {
    const char first = line.empty() ? '\0' : line[0];
    if ((first == 'p' || first == 's') && trimmed(untagged).size() == 4) return true;
    // Every page marker: "p" and its number, whatever follows ("p1000 ",
    // the byline marker "p00by ...").
    if (first == 'p' && line.size() > 1 && isDigit(line[1])) return true;
    return untagged.find("age>") != std::string_view::npos;
}

}  // namespace

LineList screenLinesToSave(const LineList& text, std::int32_t TopLine, std::int32_t NextLine) {
    LineList out;
    const std::int32_t first = std::max(TopLine, 0);
    const std::int32_t last = std::min(NextLine, text.count() - 1);
    for (std::int32_t i = first; i <= last; ++i) {
        const std::string& line = text[i];
        if (heldAnchorTag(line)) continue;
        std::string untagged = removeTags(line);
        if (isLeftOut(line, untagged)) continue;
        out.add(std::move(untagged));
    }
    return out;
}

LineList screenLinesToSave(const ReaderState& state) {
    if (!state.CurrentText) return {};
    return screenLinesToSave(*state.CurrentText, state.TopLine, state.NextLine);
}

std::string savedScreenBytes(const ReaderState& state) {
    return screenLinesToSave(state).toBytes();
}

}  // namespace varnet
