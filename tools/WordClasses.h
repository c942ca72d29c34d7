// The word classes of the demo book: which words the phrasing treats as
// function words, and which words carry which colour tag.
//
// Colours: |7> names (the fables' characters and places, written with a
// capital inside a sentence), |6> verbs of saying, hearing and thinking,
// |8> adjectives, |9> nouns (words the text uses after an article or a
// possessive). A word belongs to one class and is coloured at every
// occurrence; where a class holds more occurrences than its count allows, its
// most frequent words are taken first.
#pragma once

#include "BookSource.h"

#include <string>
#include <string_view>
#include <vector>

namespace varnet::laybook {

// Words that carry no meaning of their own: never coloured, never indexed.
bool isFunctionWord(std::string_view key);
// Words that open a noun phrase: the phrasing never breaks after one.
bool isDeterminer(std::string_view key);
bool isConjunction(std::string_view key);   // and, but, or ...
bool isSubordinator(std::string_view key);  // when, because, who, which ...
bool isPreposition(std::string_view key);

struct ColourReport {
    int colour = 0;
    std::string name;
    int candidates = 0;  // occurrences the class holds
    int tagged = 0;
    int words = 0;               // distinct words coloured (a partly coloured word counts)
    std::string partlyColoured;  // the word coloured at only some occurrences, if any
};

// Sets Token::colour on the given tokens (the body text, in reading order) so
// that each colour is used exactly `count` times. Throws std::runtime_error
// when a class holds fewer occurrences than its count.
std::vector<ColourReport> colourWords(const std::vector<Token*>& tokens);

}  // namespace varnet::laybook
