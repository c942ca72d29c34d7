// Plain text and Markdown books, from the bytes of their file.
#pragma once

#include "BookImport.h"

#include <string>
#include <string_view>

namespace varnet::import {

// A plain-text book: paragraphs between blank lines, chapters at their
// headings, indented short lines kept as verse; an e-book archive's header
// and licence removed, its Title: and Author: lines read. `name` is the
// file's path, for the title when the text names none and for the message.
ImportResult importPlainText(std::string_view bytes, const std::string& name);

// A Markdown book: chapters at its headings, a single leading top heading
// (or the front matter's title) as the book's title, the inline markup
// stripped; code blocks and lines ended by hard breaks kept as verse.
ImportResult importMarkdown(std::string_view bytes, const std::string& name);

}  // namespace varnet::import
