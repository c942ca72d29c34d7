// The demo book's colours: which words carry which colour tag, so that each
// colour is used as many times as the book's figures say.
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
