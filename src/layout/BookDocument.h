// A book as its source gives it, before it is laid out: title, author and
// chapters of paragraphs and verse. Every importer produces one; the layout
// turns it into the stored line form the reader opens.
//
// All text is in the reader's 8-bit character set (Latin-1): importers map
// characters before they fill a document, so the layout never meets a byte
// sequence it cannot show.
#pragma once

#include <string>
#include <vector>

namespace varnet::layout {

struct Block {
    enum class Kind {
        Paragraph,  // running prose: `lines` holds one entry, the paragraph's text
        Verse,      // lines kept as the source breaks them: one entry per line
    };
    Kind kind = Kind::Paragraph;
    std::vector<std::string> lines;
};

struct Chapter {
    std::string title;  // empty for a chapter the source gives no heading
    std::vector<Block> blocks;
};

struct BookDocument {
    std::string title;
    std::string author;  // empty when the source names none
    std::vector<Chapter> chapters;
};

}  // namespace varnet::layout
