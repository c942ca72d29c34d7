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

// Takes the stored lines one at a time, so that a text read from bytes is
// never held twice.
class OpenedTextBuilder {
public:
    // Room for `lines` stored lines of `bytes` bytes in all. Indents grow
    // lines by a few blanks each: eight more per line covers a laid-out book,
    // and the list grows if a text needs more.
    OpenedTextBuilder(std::size_t lines, std::size_t bytes) {
        opened_.reserve(lines + 3, bytes + 8 * lines + 64);
    }

    void line(std::string_view stored) {
        if (header_) {
            header_ = false;
            return;
        }
        if (isIndentLine(stored)) {
            const IndentCode code = readIndentCode(stored);
            opened_.add(code.blanks, stored.substr(code.bodyStart));
        } else {
            opened_.add(stored);
        }
        if (!blankOrControlOnly(stored)) kept_ = opened_.count();
    }

    LineList finish() {
        opened_.truncate(kept_);
        opened_.add(kEndMarker);
        opened_.add(normaliseLine(kClosingLine));
        opened_.add(kFinalBlankLine);
        return std::move(opened_);
    }

private:
    LineList opened_;
    bool header_ = true;     // line 0 is the header, dropped
    std::int32_t kept_ = 0;  // lines up to the last one not blank
};

}  // namespace

LineList openedText(const LineList& stored) {
    OpenedTextBuilder builder(static_cast<std::size_t>(stored.count()), stored.byteCount());
    for (const std::string_view line : stored) builder.line(line);
    return builder.finish();
}

LineList openedTextOfBytes(std::string_view stored) {
    OpenedTextBuilder builder(LineList::mostLinesIn(stored), stored.size());
    LineList::forEachLine(stored, [&builder](std::string_view line) { builder.line(line); });
    return builder.finish();
}

}  // namespace varnet
