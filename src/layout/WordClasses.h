// The word classes the layout knows: the function words the phrasing breaks
// around, and the lexicon and rules by which words are coloured.
//
// Colours: |7> names (words written with a capital inside a sentence), |6>
// verbs (of saying, hearing and thinking, and common verbs of action), |8>
// adjectives, |9> nouns (words the text uses after an article or a
// possessive). Every colour is closed by the body colour |4>.
#pragma once

#include "Tokens.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace varnet::layout {

inline constexpr int kNameColour = 7;
inline constexpr int kVerbColour = 6;
inline constexpr int kAdjectiveColour = 8;
inline constexpr int kNounColour = 9;

// Words that carry no meaning of their own: never coloured, never indexed.
bool isFunctionWord(std::string_view key);
// Words that open a noun phrase: the phrasing never breaks after one.
bool isDeterminer(std::string_view key);
// Determiners that may stand before a plural noun.
bool isPluralDeterminer(std::string_view key);
bool isConjunction(std::string_view key);   // and, but, or ...
bool isSubordinator(std::string_view key);  // when, because, who, which ...
bool isPreposition(std::string_view key);
// Verbs of saying, hearing and thinking, in their forms.
bool isSpeechVerb(std::string_view key);
// Common verbs of action and being, in their forms (speech verbs apart).
bool isActionVerb(std::string_view key);
// Adjectives, comparatives and superlatives among them.
bool isAdjective(std::string_view key);

// The word is all lower-case letters, apostrophes and hyphens.
bool isLowerWord(const Token& t);
// The words a plural may come from: "foxes" from "fox", "wolves" from "wolf".
std::vector<std::string> singulars(const std::string& key);

// Whole-text word statistics, gathered token by token in reading order and
// kept per word (by its key), so that a book's words can be counted one
// paragraph at a time and coloured afterwards without holding its tokens.
class WordCounts {
public:
    // The next token of the text.
    void add(const Token& t);

    // Names: words written with a capital inside a sentence at least as
    // often as in lower case there (speech verbs and adjectives apart).
    std::unordered_set<std::string> names() const;
    // Nouns among the words added: see findNouns.
    std::unordered_set<std::string> nouns(const std::unordered_set<std::string>& names) const;
    // Settles every word's colour (see classifyWords); colourOf reads it.
    void settleColours();
    // The settled colour of a word, 0 for a word never added.
    int colourOf(const std::string& key) const;
    // The settled colours of all words added.
    std::unordered_map<std::string, int> colours() const;

private:
    // Per word: the classes its key belongs to, looked up once.
    enum Class : unsigned {
        Function = 1,
        Determiner = 2,
        Adjective = 4,
        // A function word after which a lower-case word is a verb ("none
        // turns up"): no preposition, conjunction or plural determiner.
        BeforeVerb = 8,
    };
    struct Counts {
        int capital = 0;       // written with a capital where no sentence begins
        int lower = 0;         // in lower case there
        int total = 0;         // colourable lower-case occurrences
        int afterArticle = 0;  // of those, after an article or a possessive
        bool usedAsVerb = false;
        unsigned classes = 0;
        int colour = 0;
    };
    // What the noun finder needs of the tokens just before the next one.
    struct Prior {
        const Counts* counts = nullptr;
        bool hasAfter = false;
    };
    int colourFor(const std::string& key, const std::unordered_set<std::string>& names,
                  const std::unordered_set<std::string>& nouns) const;

    std::unordered_map<std::string, Counts> counts_;
    Prior prior_[3];  // the last token first
    std::size_t seen_ = 0;
};

// Nouns among the words of `tokens` (a text in reading order): words seen
// right after an article or a possessive, or after one and up to two
// adjectives, in at least a third of their occurrences; and the plurals of
// such words, unless a plural is ever used as a verb (right after a pronoun
// or a word such as "none": "none turns up"). Names, speech verbs,
// adjectives and words in "-ly" are never nouns.
std::unordered_set<std::string> findNouns(const std::vector<const Token*>& tokens,
                                          const std::unordered_set<std::string>& names);

// One colour per word, by its key: the same word has the same colour at
// every occurrence. Names are words written with a capital inside a sentence
// at least as often as in lower case there; then the lexicon (verbs,
// adjectives), then the nouns found in the text, then adjectives by their
// endings ("-ous", "-ful", "-less"). Function words and words of one letter
// stay uncoloured.
std::unordered_map<std::string, int> classifyWords(const std::vector<const Token*>& tokens);

}  // namespace varnet::layout
