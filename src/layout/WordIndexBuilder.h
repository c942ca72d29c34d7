// A book's word index: one entry per word of four letters or more that is
// not a function word, with a short reference to every line of the opened
// (normalised) book that holds it.
#pragma once

#include <string>
#include <vector>

namespace varnet::layout {

// References have room for a four-digit page and a five-digit line.
inline constexpr int kMaxIndexedPage = 9999;
inline constexpr int kMaxIndexedLine = 99999;

// Entry lines in index order (by the word in lower case, byte order). An
// entry shows the word in lower case once the text has used it so, else as
// first written. A reference is "|", the line's page in four digits (not
// shown by the reader) and the normalised line index in five digits: the
// stored index less one, since opening a book drops its header line.
//
// `shown` holds per stored line the text it shows (tags removed, "" for
// markers), `pages` the page each stored line is on; stored line 0, the
// header, is never indexed. Lines whose index or page has no room in a
// reference are left out of the index: a reader jumps there by paging.
std::vector<std::string> buildWordIndex(const std::vector<std::string>& shown, const std::vector<int>& pages);

}  // namespace varnet::layout
