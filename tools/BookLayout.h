// Lays the demo book's prose out in the cascading layout: phrases, indents,
// page markers, section breaks, headings, anchors and colour tags, so that
// the stored form meets every fixed figure of the book (BookFigures.h).
#pragma once

#include "BookSource.h"

#include <string>
#include <vector>

namespace varnet::laybook {

struct LaidOutBook {
    std::vector<std::string> stored;  // the stored lines, header first
    std::vector<std::string> words;   // per stored line the text it shows, tags removed ("" for markers)
    std::vector<int> page;            // per stored line the page it is on (1 before the first marker)
    std::vector<std::string> chapterTitles;
    std::vector<std::string> notes;  // what the layout chose, for the tool's report
};

// Lays the book out. Throws std::runtime_error when the prose cannot meet a
// figure (too little text for the line count, a line longer than the header).
LaidOutBook layBook(BookSource& book);

// Checks every fixed figure on stored lines; returns one message per failure.
std::vector<std::string> checkFigures(const std::vector<std::string>& stored);

}  // namespace varnet::laybook
