// The fixed figures of the demo book's stored form, in one place: the layout
// tool forces each of them, and checks them all before it writes anything.
#pragma once

#include <array>

namespace varnet::laybook {

constexpr int kChapters = 24;
constexpr int kSplitHeadings = 14;  // headings laid over two lines

constexpr int kBookLines = 14254;
constexpr int kIndentLines = 11960;
constexpr int kPageMarkers = 1110;  // the byline marker, then "p002 " .. "p1110"
constexpr int kSectionBreaks = 1183;
constexpr int kFirstAnchorLine = 69;  // stored line of "l00|refpt001> "
constexpr int kHeaderLength = 131;

// The opening lines, by stored line: the header, the title, the byline
// marker, the introduction's heading, "p002 " and "l00|p> ".
constexpr int kTitleLine = 1;
constexpr int kBylineLine = 2;
constexpr int kIntroductionHeadingLine = 3;
constexpr int kFirstPageLine = 4;
constexpr int kOpeningLines = 6;
// What opens each chapter: its anchor, its heading's first line, a page
// marker and "l00|p> ".
constexpr int kChapterOpeningLines = 4;
// Lines that end without a blank: the book's last phrase and its last page
// marker.
constexpr int kLinesWithoutFinalBlank = 2;

// Where section breaks and page markers lead.
constexpr int kSectionBeforeAnchor = 13;    // the others lead to an indent-05 line
constexpr int kPageBreaksInsideBlocks = 5;  // before an indent-02, -17 or -24 line
constexpr int kParagraphTagsInText = 2;     // "l00|p> " besides the introduction and the chapters
// Every "l00|p> " line: the introduction's, one per chapter, those in the text.
constexpr int kParagraphLines = 1 + kChapters + kParagraphTagsInText;
static_assert(kParagraphLines == 27);
// Bold lines, each closed by "|n>": the title and the chapter headings.
constexpr int kBoldLines = 1 + kChapters;

// The most frequent indents.
constexpr int kIndent05 = 2274;
constexpr int kIndent12 = 1757;
constexpr int kIndent10 = 1187;
constexpr int kIndent16 = 1089;
constexpr int kMaxIndentUsed = 32;
// Indents up to kMaxIndentUsed that no line has.
constexpr std::array<int, 4> kUnusedIndents = {1, 3, 4, 6};
// The indent every block opens at.
constexpr int kBlockIndent = 5;
// The indents of the lines a page break inside a block comes before.
constexpr std::array<int, 3> kInnerBreakIndents = {2, 17, 24};
// The indent of a split heading's second line.
constexpr int kHeadingContinuationIndent = 8;

// Colour tags in the body text; every one is closed by "|4>".
constexpr int kColour9 = 4468;
constexpr int kColour7 = 1205;
constexpr int kColour8 = 1057;
constexpr int kColour6 = 646;
constexpr int kColour4 = kColour9 + kColour7 + kColour8 + kColour6;
static_assert(kColour4 == 7376);

// Derived counts. Indent lines besides the phrases: the title, the
// introduction's heading and its "l00|p> ", per chapter the anchor, the
// heading's first line and "l00|p> ", the second lines of the split headings,
// and the "l00|p> " lines inside the text.
constexpr int kStructuralIndentLines = 1 + 1 + 1 + 3 * kChapters + kSplitHeadings + kParagraphTagsInText;
constexpr int kPhraseLines = kIndentLines - kStructuralIndentLines;
static_assert(kPhraseLines == 11869);

// Page markers that are not fixed by the structure (the byline, "p002 ", one
// per chapter opening, the last line) nor inside a block: those between two
// blocks, the two followed by "l00|p> " included.
constexpr int kPageBreaksBetweenBlocks = kPageMarkers - 1 - 1 - kChapters - 1 - kPageBreaksInsideBlocks;
static_assert(kPageBreaksBetweenBlocks == 1078);
constexpr int kSectionBreaksBetweenBlocks = kSectionBreaks - kSectionBeforeAnchor;

// A block is a run of phrases that opens at indent 05: the first of the
// introduction and of each chapter follows "l00|p> ", every other one follows
// a page marker or a section break.
constexpr int kBlocks = 1 + kChapters + kPageBreaksBetweenBlocks + kSectionBreaksBetweenBlocks;
static_assert(kBlocks == 2273);
// Indent-05 lines that are not block openings: one continuation line.
constexpr int kContinuationAt05 = kIndent05 - kBlocks;
static_assert(kContinuationAt05 == 1);

// Stored lines kOpeningLines .. kFirstAnchorLine - 1 hold the introduction's body.
constexpr int kIntroductionBodyLines = kFirstAnchorLine - kOpeningLines;
// The lines of the chapters' bodies: all but the opening lines, the
// introduction's body, the chapters' opening lines, the second lines of the
// split headings, the section breaks before anchors and the last page marker.
constexpr int kChapterBodyLines = kBookLines - kOpeningLines - kIntroductionBodyLines -
                                  kChapterOpeningLines * kChapters - kSplitHeadings - kSectionBeforeAnchor -
                                  1;
// Page markers followed by an indent-05 line: all but the byline marker, the
// markers before "l00|p> ", the last one and those inside blocks.
constexpr int kPageMarkersBeforeBlocks = kPageMarkers - 1 - kParagraphLines - 1 - kPageBreaksInsideBlocks;

static_assert(1 + kIndentLines + kPageMarkers + kSectionBreaks == kBookLines);

}  // namespace varnet::laybook
