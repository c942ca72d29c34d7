// Writing stored lines: phrases with their colour tags, bold lines, and the
// mending of text the line format has no room for.
#pragma once

#include "Tokens.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnet::layout {

// "|" and the colour's digit, ">".
std::string colourTag(int colour);

// Tokens [begin, end) of `p` as one line, blanks between them; with `tagged`
// each coloured word is wrapped in its colour tag and "|4>" (punctuation
// stays outside).
std::string phraseText(const Paragraph& p, std::size_t begin, std::size_t end, bool tagged);
// The same, appended to `out`.
void appendPhraseText(std::string& out, const Paragraph& p, std::size_t begin, std::size_t end, bool tagged);

// The letters that would turn a phrase into an anchor ("refp") or a section
// break ("s000") wherever they stand are broken by a hyphen after their
// first letter. Returns the sequences broken, one entry per place, in order
// of the sequences and then of their places.
std::vector<std::string_view> breakReservedLetters(std::string& text);

// Text as the line format can hold it: a bar (which would open a tag)
// becomes "/", tabs, line ends, the no-break blank and other control
// characters become blanks, runs of blanks one blank, blanks at either end
// go, and reserved letters are broken (breakReservedLetters).
std::string mendText(std::string_view text);

}  // namespace varnet::layout
