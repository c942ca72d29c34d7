// Arbitrary bytes as a book for the layout: "\x01" starts a chapter (its
// first line is the title; the book's first line is the book's title), a
// blank line ends a block, and a block whose first character is ">" is
// verse. The laid-out text keeps its line form: one stored line per line,
// each chapter's anchor once and in order, and index references that name
// lines of the text.
#include "DocumentLayout.h"
#include "FuzzCheck.h"
#include "LineFormat.h"
#include "TextFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> split(std::string_view text, std::string_view by) {
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const auto next = text.find(by, at);
        parts.push_back(text.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at));
        if (next == std::string_view::npos) return parts;
        at = next + by.size();
    }
}

varnet::layout::BookDocument bookFrom(std::string_view bytes) {
    using varnet::layout::Block;
    varnet::layout::BookDocument book;
    const std::vector<std::string_view> chapters = split(bytes, "\x01");
    for (std::size_t c = 0; c < chapters.size(); ++c) {
        std::string_view text = chapters[c];
        const auto lineEnd = text.find('\n');
        const std::string_view first = text.substr(0, lineEnd);
        text = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
        if (c == 0) {
            book.title = std::string(first);
            book.author = "Fuzz";
        }
        varnet::layout::Chapter chapter;
        chapter.title = c == 0 ? std::string() : std::string(first);
        for (std::string_view part : split(text, "\n\n")) {
            if (part.empty()) continue;
            Block block;
            if (part.front() == '>') {
                block.kind = Block::Kind::Verse;
                for (std::string_view line : split(part.substr(1), "\n")) block.lines.emplace_back(line);
            } else {
                std::string joined(part);
                for (char& ch : joined)
                    if (ch == '\n') ch = ' ';
                block.lines.push_back(std::move(joined));
            }
            chapter.blocks.push_back(std::move(block));
        }
        book.chapters.push_back(std::move(chapter));
    }
    return book;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 20000) return 0;  // the layout is linear; small books find the faults
    const varnet::layout::LaidOutText out =
        varnet::layout::layOutDocument(bookFrom(std::string_view(reinterpret_cast<const char*>(data), size)));
    FUZZ_CHECK(!out.stored.empty());
    for (const std::string& line : out.stored)
        FUZZ_CHECK(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos);
    // Each chapter's anchor once, in order, on an anchor line of its own.
    std::size_t from = 0;
    for (std::size_t k = 1; k <= out.chapterTitles.size(); ++k) {
        const std::string anchor = varnet::tagText(varnet::anchorName(static_cast<int>(k)));
        std::size_t found = out.stored.size();
        for (std::size_t i = from; i < out.stored.size(); ++i)
            if (out.stored[i].find(anchor) != std::string::npos) {
                found = i;
                break;
            }
        FUZZ_CHECK(found < out.stored.size());
        from = found + 1;
    }
    // Opened, every indent line still normalises; no text line became a marker.
    for (std::size_t i = 1; i < out.stored.size(); ++i) {
        const std::string& line = out.stored[i];
        if (varnet::isIndentLine(line)) (void)varnet::normaliseLine(line);
    }
    // Every index reference names a line of the opened text.
    for (const std::string& entry : out.indexLines) {
        for (std::size_t bar = entry.find('|'); bar != std::string::npos; bar = entry.find('|', bar + 1)) {
            const std::string_view ref = std::string_view(entry).substr(bar + 1, 9);
            FUZZ_CHECK(ref.size() == 9);
            const int line = std::stoi(std::string(ref.substr(4)));
            FUZZ_CHECK(line >= 0 && static_cast<std::size_t>(line) + 1 < out.stored.size());
        }
    }
    return 0;
}
