// EPUB 2 and 3 books, from the bytes of their zip container.
#pragma once

#include "BookImport.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnet::import {

// What an EPUB's archive may inflate to: all its entries read together, and
// how much more than its stored size an entry above kSmallEntryBytes may
// inflate to.
inline constexpr std::size_t kMaxInflatedBytes = std::size_t{256} << 20;
inline constexpr std::size_t kMaxEntryRatio = 100;
inline constexpr std::size_t kSmallEntryBytes = std::size_t{1} << 20;

// An EPUB book: its title and author from the package, the spine's
// documents in order, chapters named by the table of contents (the EPUB 3
// navigation document or the EPUB 2 NCX), else at the documents' top
// headings, else one a document. `name` is the file's path, for the title
// when the package names none and for the message.
ImportResult importEpub(std::string_view bytes, const std::string& name);

// A block of an XHTML document's text, in UTF-8.
struct XhtmlBlock {
    enum class Kind { Paragraph, Verse, Heading };
    Kind kind = Kind::Paragraph;
    int level = 0;                   // 1..6 for a heading
    std::vector<std::string> lines;  // one for a paragraph or a heading, spaces collapsed
};

// The blocks of an XHTML document read with the forgiving HTML parser, so
// that bad markup still gives its text: paragraphs, list items, quotes and
// divisions as paragraphs, h1..h6 as headings, a block with line breaks as
// verse; scripts, styles and the head skipped.
std::vector<XhtmlBlock> readXhtmlBlocks(std::string_view bytes);

}  // namespace varnet::import
