// A book's word index: one entry per word of four letters or more that is
// not a function word, with a short reference to every line of the opened
// (normalised) book that holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
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

// The same index built as the lines are written, without keeping their
// text: each line is given once, in order, with its page. Per word it keeps
// one packed reference (page and line) for each line that holds it.
class WordIndexBuilder {
public:
    // Stored line `line` is on page `page` and shows `shown`.
    void addLine(std::size_t line, int page, std::string_view shown);
    // The entry lines, as buildWordIndex gives them; the builder is empty after.
    std::vector<std::string> takeLines();

private:
    struct Entry {
        std::string shown;  // the first capitalised form, until a lower-case one is met
        bool lowerSeen = false;
        std::vector<std::uint32_t> refs;  // page and stored line, each line once
    };
    std::map<std::string, Entry, std::less<>> entries_;  // by the word in lower case
    std::string key_;
    bool full_ = false;  // a line past the references' room was met: no more are indexed
};

}  // namespace varnet::layout
