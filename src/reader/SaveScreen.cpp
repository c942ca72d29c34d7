#include "SaveScreen.h"

#include "TextFormat.h"

#include <algorithm>
#include <string_view>

namespace varnet {

namespace {

// Markers open the line themselves: a "p" or "s" that only follows a tag
// ("|b>p4", "|7>seal|4>") begins words of the text, which are kept.
bool isLeftOut(std::string_view line, std::string_view untagged) {
    if (isMarkerLine(line) && trimmed(untagged).size() == 4) return true;
    // Every page marker: "p" and its number, whatever follows ("p1000 ",
    // the byline marker "p00by ...").
    if (isNumberedPageMarker(line)) return true;
    return holdsImageTag(line);
}

}  // namespace

LineList screenLinesToSave(const LineList& text, std::int32_t TopLine, std::int32_t NextLine) {
    LineList out;
    const std::int32_t first = std::max(TopLine, 0);
    const std::int32_t last = std::min(NextLine, text.count() - 1);
    for (std::int32_t i = first; i <= last; ++i) {
        const std::string_view line = text[i];
        // After the tag step an anchor line would keep the tag's remainder
        // ("fpt001> "), which is no word of the text.
        if (holdsAnchorTag(line)) continue;
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
