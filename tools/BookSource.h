// The demo book's prose as the writers keep it in data/book/, read into
// parts, fables, paragraphs, sentences and words for the layout tool.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace varnet::laybook {

// One blank-separated piece of a paragraph: punctuation before, the word,
// punctuation after ("\"Good" gives the word Good after a quote).
struct Token {
    std::string text;
    std::size_t wordBegin = 0;  // the word is text[wordBegin, wordEnd)
    std::size_t wordEnd = 0;
    std::string key;             // the word in lower case without a possessive ending
    bool capital = false;        // the word opens with A to Z
    bool sentenceStart = false;  // first of its sentence or of a quotation
    bool sentenceEnd = false;    // ".", "!" or "?" with a capital (or nothing) after
    bool clauseEnd = false;      // ";", ":", or "?"/"!" inside a sentence
    bool comma = false;
    bool opensQuote = false;
    bool closesQuote = false;
    int colour = 0;  // the colour tag digit the word carries, 0 for none

    std::string word() const { return text.substr(wordBegin, wordEnd - wordBegin); }
    std::string before() const { return text.substr(0, wordBegin); }
    std::string after() const { return text.substr(wordEnd); }
};

struct Paragraph {
    std::vector<Token> tokens;
    std::vector<std::size_t> sentenceEnds;  // index one past each sentence's last token
    std::size_t characters() const;         // as one line, blanks between tokens
};

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

// Splits a paragraph's text into tokens and sentences.
Paragraph parseParagraph(const std::string& text);

}  // namespace varnet::laybook
