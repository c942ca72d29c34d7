#include "OpenedText.h"

#include "TextFormat.h"

#include <string>

namespace varnet {

namespace {

// The bytes a stored line takes once opened.
std::size_t openedSize(std::string_view stored) {
    if (!isIndentLine(stored)) return stored.size();
    const IndentCode code = readIndentCode(stored);
    return code.blanks + stored.size() - code.bodyStart;
}

// Room for the opened form: lines, and bytes for the stored lines' part.
struct Room {
    std::size_t lines;
    std::size_t bytes;
};

// Builds the opened form from a text's stored lines, given as a function that
// calls its argument with each line in turn, in a list made with `room`, so
// that a big book is never held twice while its list grows.
template <class EachLine>
LineList openedFrom(Room room, EachLine&& eachLine) {
    const std::string_view closing = kClosingLine;
    LineList opened;
    opened.reserve(room.lines + 3, room.bytes + std::string_view(kEndMarker).size() + openedSize(closing) +
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
        if (!trimmed(stored).empty()) kept = opened.count();  // not blank or control only
    });
    opened.truncate(kept);
    opened.add(kEndMarker);
    opened.add(normaliseLine(closing));
    opened.add(kFinalBlankLine);
    return opened;
}

}  // namespace

LineList openedText(const LineList& stored) {
    Room room{static_cast<std::size_t>(stored.count()), 0};
    for (const std::string_view line : stored) room.bytes += openedSize(line);
    return openedFrom(room, [&stored](auto&& f) {
        for (const std::string_view line : stored) f(line);
    });
}

LineList openedTextOfBytes(std::string_view stored) {
    // The room is found with the library's fast search for LF alone: every
    // stored byte, line ends included, and the blanks of every indent. That
    // is never too little for a text whose lines end in LF or CR LF; a text
    // of CR line ends gets too little, and its list grows.
    Room room{1, stored.size()};
    for (std::size_t at = 0;;) {
        if (isIndentLine(stored.substr(at))) room.bytes += readIndentCode(stored.substr(at)).blanks;
        const std::size_t lf = stored.find('\n', at);
        if (lf == std::string_view::npos) break;
        at = lf + 1;
        ++room.lines;
    }
    return openedFrom(room, [stored](auto&& f) { LineList::forEachLine(stored, f); });
}

}  // namespace varnet
