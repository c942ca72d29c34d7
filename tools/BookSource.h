// The demo book's prose as the writers keep it in data/book/, read into
// parts, fables, paragraphs, sentences and words for the layout tool.
#pragma once

#include "Tokens.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace varnet::laybook {

using layout::Paragraph;
using layout::parseParagraph;
using layout::Token;

struct Fable {
    std::vector<Paragraph> paragraphs;
    std::size_t characters() const;
};

struct Part {
    std::string file;
    std::string title;
    std::vector<Fable> fables;
};

struct BookSource {
    std::string header;
    std::string title;
    std::string author;
    std::string entry;
    Part introduction;
    std::vector<Part> chapters;
    std::vector<std::string> warnings;  // what the reader mended in the prose
};

// Reads meta.txt, intro.txt and chapter01.txt .. chapter24.txt from `folder`.
// Throws std::runtime_error naming the file when something is missing.
BookSource readBookSource(const std::filesystem::path& folder);

}  // namespace varnet::laybook
