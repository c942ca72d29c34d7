// The texts the reader carries built in: the demo book, the short pages that
// opening a book produces by key, and the start-up instructions.
#pragma once

#include "LineList.h"
#include "ReaderState.h"

#include <string>
#include <vector>

namespace varnet {

// The demo book's facts, from its own source, so a rename is one edit.
struct DemoBookInfo {
    std::string header;  // line 0 of every stored built-in text
    std::string title;   // with its leading article
    std::string author;
    std::string authorEntry;                 // the entry shown on the author page
    std::vector<std::string> chapterTitles;  // chapters 1 to 24, in order
};
const DemoBookInfo& demoBookInfo();

// Stored form, each beginning with its header line.
LineList welcomeText();     // key "none"
LineList titleListText();   // key "title"
LineList authorListText();  // key "author"
LineList authorText();      // any other key
LineList demoBookText();    // key "fable"

// The demo book as opening it makes it (see OpenedText.h).
LineList openedDemoBookText();

// Already in normalised form; appended to the text at the first activation.
const LineList& startupInstructions();

// Makes a new DemoText holding the demo book in stored form (reading the
// built-in lines in place).
void BuildDemoText(ReaderState& state);

}  // namespace varnet
