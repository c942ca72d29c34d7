// What every imported book must be, whatever bytes it came from: one
// message or one book, never both; a book with chapters of non-empty
// blocks whose text is tidy Latin-1 (no control characters, no line ends,
// single spaces, none at either end).
#pragma once

#include "BookImport.h"
#include "FuzzCheck.h"

#include <string>
#include <string_view>

namespace varnet::fuzz {

inline bool tidyLatin1(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xA0) return false;
        if (c == ' ' && (i == 0 || i + 1 == text.size() || text[i + 1] == ' ')) return false;
    }
    return true;
}

inline void checkImport(const import::ImportResult& r, const std::string& name) {
    FUZZ_CHECK(r.book.has_value() == r.error.empty());
    if (!r.book) {
        FUZZ_CHECK(r.error.starts_with("Cannot import " + name + ": "));
        return;
    }
    const layout::BookDocument& book = *r.book;
    FUZZ_CHECK(!book.title.empty());
    FUZZ_CHECK(tidyLatin1(book.title) && tidyLatin1(book.author));
    FUZZ_CHECK(!book.chapters.empty());
    for (const layout::Chapter& c : book.chapters) {
        FUZZ_CHECK(tidyLatin1(c.title));
        FUZZ_CHECK(!c.blocks.empty());
        for (const layout::Block& b : c.blocks) {
            FUZZ_CHECK(b.kind == layout::Block::Kind::Paragraph ? b.lines.size() == 1 : b.lines.size() >= 2);
            for (const std::string& line : b.lines) FUZZ_CHECK(!line.empty() && tidyLatin1(line));
        }
    }
}

}  // namespace varnet::fuzz
