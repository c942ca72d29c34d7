#include "TextSearch.h"

#include "TextFormat.h"

#include <algorithm>
#include <string_view>

namespace varnet {

namespace {

// An empty pattern is contained in nothing.
bool contains(std::string_view text, std::string_view pattern) {
    return !pattern.empty() && text.find(pattern) != std::string_view::npos;
}

void lowerInto(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

}  // namespace

std::int32_t TextSearch::lineCount() const {
    return state_.CurrentText ? state_.CurrentText->count() : 0;
}

void TextSearch::FindDialog1Find() {
    const std::int32_t count = lineCount();
    if (dialog_.searchDown()) {
        if (state_.NextLine < count - 1)
            SearchText(state_.NextLine, +1);
        else
            dialog_.close();
    } else {
        if (state_.TopLine >= 2)
            SearchText(state_.TopLine, -1);
        else
            dialog_.close();
    }
}

void TextSearch::SearchText(std::int32_t Start, std::int32_t Direction) {
    state_.SearchStart = Start;
    const std::string searchText = dialog_.findText();
    if (searchText.empty()) return;

    const bool matchCase = dialog_.matchCase();
    const std::string pattern = matchCase ? searchText : lowerAscii(searchText);
    const std::string_view firstWord = std::string_view(pattern).substr(0, pattern.find(' '));
    const bool phrase = firstWord.size() != pattern.size();

    const std::int32_t count = lineCount();
    const auto lineAt = [this](std::int32_t i) -> std::string_view { return state_.CurrentText->get(i); };
    std::string lowered;  // reused, so a long search allocates once
    // Down, the line right after the panel is the first examined; up, the
    // line right above it. The first line is worked out in 64 bits: a start
    // near either end of the number range must not wrap round into the text.
    const std::int64_t first = Direction > 0 ? std::int64_t{Start} : std::int64_t{Start} + Direction;
    if (first < 0 || first >= count) {
        dialog_.close();
        return;
    }
    for (std::int32_t i = static_cast<std::int32_t>(first);; i += Direction) {
        // Past either end there is nothing to read: not found, as at a bound.
        if (i < 0 || i >= count) break;
        // The bound is the last line a search in that direction examines.
        const bool atBound = Direction > 0 ? i >= count - 2 : i <= 1;

        bool hit;
        if (matchCase) {
            hit = contains(lineAt(i), firstWord);
        } else {
            lowerInto(lineAt(i), lowered);
            hit = contains(lowered, firstWord);
        }
        if (!hit && !atBound) continue;

        if (phrase) {
            // The phrase may run on into the next line; without one (the last
            // line of the text) it is not there.
            hit = false;
            if (i + 1 < count) {
                std::string joined(trimmed(lineAt(i)));
                joined += ' ';
                joined += trimmed(lineAt(i + 1));
                joined = removeTags(joined);
                if (!matchCase) joined = lowerAscii(joined);
                hit = contains(joined, pattern);
            }
        }
        if (hit) {
            ShowFoundLine(i);
            return;
        }
        if (atBound) break;
    }
    dialog_.close();
}

void TextSearch::ShowFoundLine(std::int32_t Line) {
    const std::int32_t count = lineCount();
    if (Line < 0 || Line >= count - 1) return;
    state_.SearchFound = Line;

    std::int32_t pageStart = 0;
    for (std::int32_t k = std::max(Line, 2) - 1; k > 0; --k) {
        if (isPageMarker(state_.CurrentText->get(k))) {
            pageStart = k;
            break;
        }
    }
    const std::int32_t from = pageStart <= state_.SearchStart ? state_.SearchFound : pageStart;
    state_.NextLine = drawer_.DrawPanelHolding(from, state_.SearchFound);
    dialog_.foundLineShown();
}

}  // namespace varnet
