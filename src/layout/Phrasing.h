// Where a reader pauses, and the phrases a run of tokens is broken into: a
// least-cost search over the places between tokens, each priced by the pause
// there and by how far the phrase it closes is from the wanted length.
#pragma once

#include "Tokens.h"

#include <cstddef>
#include <limits>
#include <vector>

namespace varnet::layout {

using Cost = long long;
inline constexpr Cost kInfiniteCost = std::numeric_limits<Cost>::max() / 4;

// The pause between two tokens, strongest first. Sticky: after an article, a
// preposition or a conjunction, where no reader stops.
enum class Pause { Sentence, Clause, Comma, Quote, Conjunction, Subordinate, Preposition, None, Sticky };

// The pause between token i and token i + 1 of a paragraph.
Pause pauseAfter(const Paragraph& p, std::size_t i);

// What a break at the pause costs, in the units of the length cost (a tenth
// of a character, squared).
Cost pauseCost(Pause pause);
// What a sentence end inside a phrase costs.
inline constexpr Cost kSentenceInsidePhrase = 6000;

// The depth (in half steps) of a continuation phrase that opens with
// `first` after the pause `pause`, from the depth of the phrase before: a
// new sentence starts shallowest, a clause after ";" or ":" or a comma and a
// conjunction comes back shallower, a coordinated or relative clause keeps
// its depth, a preposition goes one step deeper and a phrase that breaks
// mid-clause deeper still. At most kMaxDepth.
inline constexpr int kMaxDepth = 12;
int continuationDepth(Pause pause, const Token& first, int depth);

// What the phrases should look like.
struct PhraseShape {
    int tenths = 200;           // the wanted length, in tenths of a character
    int longest = 40;           // no phrase of two tokens or more is longer
    int storedLimit = 1 << 30;  // a phrase's stored line stays shorter than this
};

// One phrase: tokens [begin, end) of its paragraph.
struct PhraseSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    int length = 0;  // characters shown, tags not counted
};

// What a colour tag pair adds to a stored line: the colour's tag and "|4>".
int colourTagCharacters(const Paragraph& p, std::size_t begin, std::size_t end);
// A phrase's stored line ("lNN", the text with its tags, a blank) is shorter
// than the limit.
bool fitsStoredLine(int length, int tags, int storedLimit);

// The least-cost phrases of tokens [begin, end) of `p`. Linear in the number
// of tokens: a phrase never reaches past `longest` characters unless it is a
// single token.
std::vector<PhraseSpan> breakPhrases(const Paragraph& p, std::size_t begin, std::size_t end,
                                     const PhraseShape& shape);

}  // namespace varnet::layout
