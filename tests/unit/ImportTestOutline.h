// A book model written out line by line, so that a test states a whole
// imported book as one expected text:
//   "T <title> / <author>", then per chapter "C <title>", then its blocks as
//   "P <paragraph>" or "V <line> | <line> ...".
#pragma once

#include "BookDocument.h"

#include <string>

namespace varnet::testing {

inline std::string outline(const layout::BookDocument& book) {
    std::string out = "T " + book.title + " / " + book.author + "\n";
    for (const layout::Chapter& c : book.chapters) {
        out += "C " + c.title + "\n";
        for (const layout::Block& b : c.blocks) {
            out += b.kind == layout::Block::Kind::Verse ? "V " : "P ";
            for (std::size_t i = 0; i < b.lines.size(); ++i) out += (i > 0 ? " | " : "") + b.lines[i];
            out += "\n";
        }
    }
    return out;
}

}  // namespace varnet::testing
