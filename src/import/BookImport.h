// Reading a reader's own book: plain text, Markdown or EPUB, into the book
// model the layout reads, with its characters mapped to the reader's 8-bit
// set. A file that cannot be imported gives one message naming the file and
// the reason.
#pragma once

#include "BookDocument.h"

#include <optional>
#include <string>
#include <string_view>

namespace varnet::import {

// The largest file an import reads.
inline constexpr std::size_t kMaxImportBytes = 64u * 1024 * 1024;

struct ImportResult {
    std::optional<layout::BookDocument> book;  // set on success
    std::string error;                         // set on failure: "Cannot import <path>: <reason>"
};

// True for a name whose extension an import reads: .txt, .md, .markdown,
// .epub, in any case.
bool isImportable(std::string_view path);

// Reads and imports the file at `path`, by its extension.
ImportResult importBook(const std::string& path);

}  // namespace varnet::import
