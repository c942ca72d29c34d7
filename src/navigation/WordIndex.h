// A book's word index: the index file's lines rearranged into tree order
// (letter lines before each first-character group, line references split off
// their entries), the tree of letters, words and references built from them,
// and what a click on a node jumps to.
#pragma once

#include "LineList.h"
#include "ReaderPorts.h"
#include "ReaderState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnet {

inline constexpr const char* kIndexRootText = "Index";
// A reference is "|" and nine (short) or ten (long) more characters; its
// first five characters are hidden in the tree.
inline constexpr std::size_t kShortReferenceLength = 10;
inline constexpr std::size_t kLongReferenceLength = 11;
inline constexpr std::size_t kHiddenReferencePart = 5;
// A reference jumps to the panel that starts this many lines before its line.
inline constexpr std::int32_t kIndexLeadLines = 5;

// The index file's lines in tree order, "Index" first. A letter line (the
// first character, lower-cased) goes before every run of lines that share
// their first character regardless of case, except a run that opens with a
// blank before any other; the references at the end of each line become
// lines of their own after it, in order, except that a long reference goes
// after the short references that directly follow it (but before the list's
// last line at the latest). Empty lines carry no entry and are dropped first,
// so an empty file gives just the root. Linear in the size of the file.
LineList prepareIndexLines(const LineList& fileLines);

// One node of the index tree, in creation order (which is not the tree's
// depth-first order when a word comes before any letter); parent is the
// index of an earlier node, or -1 for a top-level node.
struct IndexNode {
    std::string text;
    std::int32_t parent;
    bool operator==(const IndexNode&) const = default;
};

// One node per prepared line: line 0 the root; a one-character line a letter
// under the root; a line that begins with "|" a reference under the last word,
// shown as two blanks and the line without its hidden part; any other line a
// word under the last letter. A word before any letter, or a reference before
// any word, is a top-level node.
std::vector<IndexNode> buildIndexTree(const LineList& indexLines);

// What a click on a node with this text does: nothing unless the trimmed text
// begins with a digit, differs from lastIndexEntry and is a whole number;
// then it becomes the last entry and the panel starts kIndexLeadLines before
// the number, or at line 0 when that would lie before the text.
struct IndexJump {
    std::string entry;
    std::int32_t line;
};
std::optional<IndexJump> indexJumpFor(std::string_view nodeText, std::string_view lastIndexEntry);

// The click on InxTreeView applied to the state: the selected node's text
// (none when nothing is selected) is followed as indexJumpFor says, setting
// LastIndexEntry and NextLine; the placer shows the line's panel. True when
// it jumped.
bool followIndexNode(ReaderState& state, const std::optional<std::string>& selectedText, PanelPlacer& placer);

}  // namespace varnet
