#include "ImportCommon.h"

#include "CharacterMap.h"
#include "ImportReasons.h"

#include <algorithm>

namespace varnet::import::detail {

std::string failureMessage(std::string_view name, std::string_view reason) {
    std::string message = "Cannot import ";
    message += name;
    message += ": ";
    message += reason;
    return message;
}

std::string collapseSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool space = false;
    for (const char c : text) {
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

void addParagraph(layout::Chapter& chapter, std::string_view text) {
    std::string line = collapseSpaces(text);
    if (line.empty()) return;
    chapter.blocks.push_back({layout::Block::Kind::Paragraph, {std::move(line)}});
}

void addVerse(layout::Chapter& chapter, const std::vector<std::string>& lines) {
    layout::Block block{layout::Block::Kind::Verse, {}};
    for (const std::string& l : lines) {
        std::string line = collapseSpaces(l);
        if (!line.empty()) block.lines.push_back(std::move(line));
    }
    if (block.lines.empty()) return;
    if (block.lines.size() == 1) block.kind = layout::Block::Kind::Paragraph;
    chapter.blocks.push_back(std::move(block));
}

std::string titleFromFileName(std::string_view path) {
    const auto slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    std::string title;
    Latin1Mapper mapper;
    mapper.putUtf8(name, title);
    std::replace(title.begin(), title.end(), '_', ' ');
    return collapseSpaces(title);
}

void finishBook(layout::BookDocument& book, std::string_view path) {
    std::erase_if(book.chapters, [](const layout::Chapter& c) { return c.blocks.empty(); });
    if (book.chapters.empty()) throw ImportFailure{reason::kNoText};
    book.title = collapseSpaces(book.title);
    if (book.title.empty()) book.title = titleFromFileName(path);
    if (book.title.empty()) book.title = "Untitled";
    book.author = collapseSpaces(book.author);
    for (layout::Chapter& c : book.chapters) c.title = collapseSpaces(c.title);
}

}  // namespace varnet::import::detail
