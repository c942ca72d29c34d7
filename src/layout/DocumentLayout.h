// Lays a book out in cascading phrases: from its chapters of paragraphs and
// verse to the stored line form of the demo book (header, title, byline
// marker, chapters with anchors and bold headings, page markers, section
// breaks, indent lines, colour tags), and the word index that goes with it.
#pragma once

#include "BookDocument.h"

#include <string>
#include <vector>

namespace varnet::layout {

struct LaidOutText {
    std::vector<std::string> stored;         // the text file's lines, header first
    std::vector<std::string> chapterTitles;  // per chapter, as the contents tree lists it
    std::vector<std::string> indexLines;     // the word index file's lines
};

// Lays the whole book out. Chapter k (from 1) opens after the anchor line
// of anchorName(k). A book with no words gives a text of its title alone.
LaidOutText layOutDocument(const BookDocument& book);

}  // namespace varnet::layout
