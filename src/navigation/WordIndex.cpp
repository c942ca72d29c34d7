#include "WordIndex.h"

#include "TextFormat.h"

#include <array>
#include <deque>

namespace varnet {

namespace {

char lowerByte(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Every byte value once, so a letter line can be viewed without owning it.
const std::array<char, 256>& allBytes() {
    static const std::array<char, 256> bytes = [] {
        std::array<char, 256> b{};
        for (int k = 0; k < 256; ++k) b[static_cast<std::size_t>(k)] = static_cast<char>(k);
        return b;
    }();
    return bytes;
}

// The file's lines with a letter line before each first-character group,
// delivered one at a time so that the reference step can look ahead.
class LetterLines {
public:
    explicit LetterLines(const LineList& lines) : lines_(lines) { advance(); }

    bool done() const { return !has_; }
    std::string_view peek() const { return current_; }
    void pop() { advance(); }

private:
    void advance() {
        if (lineAfterLetter_) {
            lineAfterLetter_ = false;
            current_ = lines_[pos_++];
            return;
        }
        while (pos_ < lines_.count() && lines_[pos_].empty()) ++pos_;
        has_ = pos_ < lines_.count();
        if (!has_) return;
        const char first = lowerByte(lines_[pos_][0]);
        if (first != groupFirst_) {
            groupFirst_ = first;
            current_ = std::string_view(&allBytes()[static_cast<unsigned char>(first)], 1);
            lineAfterLetter_ = true;
            return;
        }
        current_ = lines_[pos_++];
    }

    const LineList& lines_;
    std::int32_t pos_ = 0;
    char groupFirst_ = ' ';  // the first group line is taken to open with a blank
    bool lineAfterLetter_ = false;
    bool has_ = false;
    std::string_view current_;
};

bool isShortReferenceAt(std::string_view line) {
    const std::size_t n = line.size();
    return n > kShortReferenceLength && line[n - kShortReferenceLength] == '|';
}
bool isLongReferenceAt(std::string_view line) {
    const std::size_t n = line.size();
    return n > kLongReferenceLength && line[n - kLongReferenceLength] == '|';
}

// A line a long reference is placed after: one that begins with "|" and is
// shorter than a long reference. None of these is ever split.
bool passedByLongReference(std::string_view line) {
    return !line.empty() && line[0] == '|' && line.size() < kLongReferenceLength;
}

}  // namespace

LineList prepareIndexLines(const LineList& fileLines) {
    LineList out;
    // Room for the most lines there can be: the root, a letter line and the
    // entry for every line, and a reference for every ten characters. A big
    // list's unused room is never touched, so the system never supplies it.
    const std::size_t characters = fileLines.byteCount();
    out.reserve(1 + static_cast<std::size_t>(fileLines.count()) * 2 + characters / kShortReferenceLength,
                std::string_view(kIndexRootText).size() + characters + 256);
    out.add(kIndexRootText);
    const auto emit = [&out](std::string_view line) { out.add(line); };

    LetterLines rest(fileLines);
    // The lines between the entry being split and the rest of the list: first
    // the run of lines a long reference is placed after (short references,
    // and lines of the list it passes), then what follows that run (long
    // references, each placed at the head of it).
    std::deque<std::string_view> passed;
    std::deque<std::string_view> after;
    while (!rest.done()) {
        std::string_view entry = rest.peek();
        rest.pop();
        passed.clear();
        after.clear();
        for (;;) {
            if (isShortReferenceAt(entry)) {
                passed.push_front(entry.substr(entry.size() - kShortReferenceLength));
                entry.remove_suffix(kShortReferenceLength);
            } else if (isLongReferenceAt(entry)) {
                const std::string_view ref = entry.substr(entry.size() - kLongReferenceLength);
                entry.remove_suffix(kLongReferenceLength);
                if (after.empty()) {
                    // The run may go on into the lines of the list that follow.
                    while (!rest.done() && passedByLongReference(rest.peek())) {
                        passed.push_back(rest.peek());
                        rest.pop();
                    }
                    // Never past the last line: when the run reaches it, the
                    // reference goes before it.
                    if (rest.done() && !passed.empty()) {
                        after.push_front(passed.back());
                        passed.pop_back();
                    }
                }
                after.push_front(ref);
            } else {
                break;
            }
        }
        // Nothing placed after the entry is ever split when its turn comes:
        // the lines passed are shorter than a long reference, a short
        // reference is too short to end in one, and a long reference was taken
        // only because the character where a short one would open is no bar.
        emit(entry);
        for (const auto line : passed) emit(line);
        for (const auto line : after) emit(line);
    }
    return out;
}

std::vector<IndexNode> buildIndexTree(const LineList& indexLines) {
    std::vector<IndexNode> nodes;
    if (indexLines.empty()) return nodes;
    nodes.reserve(static_cast<std::size_t>(indexLines.count()));
    nodes.push_back({kIndexRootText, -1});
    std::int32_t lastLetter = -1;
    std::int32_t lastWord = -1;
    for (std::int32_t k = 1; k < indexLines.count(); ++k) {
        const std::string_view line = indexLines[k];
        const auto index = static_cast<std::int32_t>(nodes.size());
        if (!line.empty() && line[0] == '|') {
            const std::size_t hidden = std::min(line.size(), kHiddenReferencePart);
            std::string text = "  ";
            text += line.substr(hidden);
            nodes.push_back({std::move(text), lastWord});
        } else if (line.size() == 1) {
            nodes.push_back({std::string(line), 0});
            lastLetter = index;
        } else {
            nodes.push_back({std::string(line), lastLetter});
            lastWord = index;
        }
    }
    return nodes;
}

std::optional<IndexJump> indexJumpFor(std::string_view nodeText, std::string_view lastIndexEntry) {
    const std::string_view entry = trimmed(nodeText);
    if (entry.empty() || entry[0] < '0' || entry[0] > '9' || entry == lastIndexEntry) return std::nullopt;
    // A word that opens with digits but goes on with other characters names
    // no line.
    const auto number = parseInteger(entry);
    if (!number) return std::nullopt;
    const std::int32_t line = *number - kIndexLeadLines;
    return IndexJump{std::string(entry), line < 0 ? 0 : line};
}

bool followIndexNode(ReaderState& state, const std::optional<std::string>& selectedText,
                     PanelPlacer& placer) {
    if (!selectedText) return false;
    auto jump = indexJumpFor(*selectedText, state.LastIndexEntry);
    if (!jump) return false;
    state.LastIndexEntry = std::move(jump->entry);
    state.NextLine = placer.ShowLine(jump->line);
    return true;
}

}  // namespace varnet
