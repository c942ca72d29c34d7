// A paragraph's text split into tokens and sentences: the unit the phrasing,
// the colouring and the word index work on. Text is 8-bit (Latin-1): letters
// are A to Z, a to z and the accented letters from 0xC0 up (but for the
// multiplication and division signs).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnet::layout {

// One blank-separated piece of a paragraph: punctuation before, the word,
// punctuation after ("\"Good" gives the word Good after a quote).
struct Token {
    std::string text;
    std::size_t wordBegin = 0;  // the word is text[wordBegin, wordEnd)
    std::size_t wordEnd = 0;
    std::string key;             // the word in lower case without a possessive ending
    bool capital = false;        // the word opens with a capital letter
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
    bool hasAfter() const { return wordEnd < text.size(); }
};

struct Paragraph {
    std::vector<Token> tokens;
    std::vector<std::size_t> sentenceEnds;  // index one past each sentence's last token
    std::size_t characters() const;         // as one line, blanks between tokens
};

// Splits a paragraph's text into tokens and sentences. Blanks, tabs and line
// ends separate tokens.
Paragraph parseParagraph(std::string_view text);

// The characters of tokens [begin, end) as one line, blanks between them.
int rangeLength(const Paragraph& p, std::size_t begin, std::size_t end);

// --- Letters of the 8-bit set ----------------------------------------------

bool isLetter(char c);
bool isUpperLetter(char c);
bool isLetterOrDigit(char c);
char lowerLetter(char c);
std::string lowerText(std::string_view text);

}  // namespace varnet::layout
