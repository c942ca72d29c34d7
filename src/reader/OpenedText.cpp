#include "OpenedText.h"

#include "TextFormat.h"

#include <string>

namespace varnet {

namespace {

bool blankOrControlOnly(std::string_view line) {
    for (const char c : line)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

// The bytes a stored line takes once opened.
std::size_t openedSize(std::string_view stored) {
    if (!isIndentLine(stored)) return stored.size();
    const IndentCode code = readIndentCode(stored);
    return code.blanks + stored.size() - code.bodyStart;
}

// Builds the opened form from a text's stored lines, given as a function that
// calls its argument with each line in turn. The lines are read twice: once
// to size the list exactly, so that a big book is never held twice while its
// list grows, and once to fill it.
template <class EachLine>
LineList openedFrom(EachLine&& eachLine) {
    std::size_t lines = 0;
    std::size_t bytes = 0;
    eachLine([&](std::string_view stored) {
        if (lines++ > 0) bytes += openedSize(stored);  // line 0, the header, is dropped
    });
    const std::string_view closing = kClosingLine;
    LineList opened;
    opened.reserve(lines + 3, bytes + std::string_view(kEndMarker).size() + openedSize(closing) +
                                  std::string_view(kFinalBlankLine).size());

    bool header = true;
    std::int32_t kept = 0;  // the lines up to the last one not blank
    eachLine([&](std::string_view stored) {
        if (header) {
            header = false;
            return;
        }
        if (isIndentLine(stored)) {
            const IndentCode code = readIndentCode(stored);
            opened.add(code.blanks, stored.substr(code.bodyStart));
        } else {
            opened.add(stored);
        }
        if (!blankOrControlOnly(stored)) kept = opened.count();
    });
    opened.truncate(kept);
    opened.add(kEndMarker);
    opened.add(normaliseLine(closing));
    opened.add(kFinalBlankLine);
    return opened;
}

}  // namespace

LineList openedText(const LineList& stored) {
    return openedFrom([&stored](auto&& f) {
        for (const std::string_view line : stored) f(line);
    });
}

LineList openedTextOfBytes(std::string_view stored) {
    return openedFrom([stored](auto&& f) { LineList::forEachLine(stored, f); });
}

}  // namespace varnet
