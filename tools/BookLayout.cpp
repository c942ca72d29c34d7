#include "BookLayout.h"

#include "BookColours.h"
#include "BookFigures.h"
#include "LineFormat.h"
#include "Phrasing.h"
#include "StoredLines.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <map>
#include <stdexcept>

// How the exact figures are met. The prose is laid out naturally first, and
// wherever a figure asks for an exact count the choice is made by a fixed,
// stable ranking (earlier position wins every tie), never by hand:
//
// 0. The introduction fills the lines before chapter 1's anchor. It keeps as
//    many of its opening paragraphs as fit there at the chapters' density
//    (characters per stored line), at least one; the tool warns about the
//    paragraphs left out.
// 1. Blocks. A block opens at indent 05 after a marker and holds whole
//    sentences of one paragraph. Each paragraph gets round(characters / C)
//    blocks (at least one, at most one per sentence); C is the smallest block
//    size that gives no more blocks than the book has room for, and the rest
//    go one by one to the paragraphs with the longest blocks. A paragraph's
//    sentences are grouped so that its blocks are as even as possible. The
//    introduction has its own count: the blocks its lines would hold at the
//    book's lines per block, at least one per paragraph, at most one per
//    sentence; the chapters share the rest.
// 2. Colours: see WordClasses.h. They are chosen before the phrases, whose
//    stored lines their tags lengthen.
// 3. Phrases. Each block is broken into phrases by a least-cost search: a
//    phrase should be about L characters long, and a break costs least after
//    a sentence, then after ";" or ":", after a comma or a quotation, before
//    a conjunction, before a relative word, before a preposition; it costs
//    most after an article, a preposition or a conjunction. L is the smallest
//    length (in tenths) that gives no more phrases than the book has lines
//    for; missing lines come from splitting the longest phrases at their best
//    pause, surplus ones go by joining the shortest pair of neighbours. No
//    phrase's stored line reaches the header's length.
// 4. Indents. Every continuation line gets a depth from the pause before it:
//    a new sentence starts shallowest, a clause after ";" or ":" or a comma
//    and a conjunction comes back shallower, a coordinated or relative clause
//    keeps its depth, a preposition goes one step deeper and a phrase that
//    breaks mid-clause goes deeper still; a line after a long line is ranked
//    a little deeper. Lines ranked by depth take the indents in order, as
//    many of each as the book's indent profile (kProfile below) holds.
// 5. Page breaks inside blocks: the blocks with the most lines, longest
//    first, take one before the continuation line at indent 02, 17 or 24
//    nearest their middle.
// 6. "l00|p> " inside the text: at the start of the longest fables that do
//    not open a chapter.
// 7. Page breaks between blocks. Pages are shared out among the introduction
//    and the chapters in proportion to their lines (largest remainder); within
//    each, a least-cost search places them so that pages are as even as
//    possible, with a small preference for pages that open a fable. The other
//    block boundaries are section breaks.
// 8. Section breaks before an anchor: after the chapters (1 to 23) whose last
//    page is longest.
// 9. Headings: the longest chapter titles are split, each at the last blank
//    before its middle.
// Then the stored lines are written, and every figure is checked on them
// before the book is handed back.

namespace varnet::laybook {

using layout::colourTag;
using layout::pauseAfter;
using layout::pauseCost;
using layout::rangeLength;

namespace {

using layout::Cost;
using layout::PhraseSpan;
constexpr Cost kInfinite = layout::kInfiniteCost;

Cost square(Cost x) {
    return x * x;
}

constexpr Cost kFablePageBonus = 900;

// A phrase: its token range in the block's paragraph and its length.
struct Line : PhraseSpan {
    int indent = kBlockIndent;
};

int tagCharacters(const Paragraph& p, std::size_t b, std::size_t e) {
    return layout::colourTagCharacters(p, b, e);
}
// A phrase's stored line, "lNN" + text with tags + " ", stays shorter than
// the header, which is the book's longest line.
bool fitsStored(int length, int tags) {
    return layout::fitsStoredLine(length, tags, kHeaderLength);
}

struct Block {
    int part = 0;  // 0 the introduction, n chapter n
    int fable = 0;
    Paragraph* para = nullptr;  // the colour step sets its tokens' colours
    std::size_t begin = 0;
    std::size_t end = 0;
    bool fableStart = false;
    bool partStart = false;
    bool paragraphTag = false;  // "l00|p> " before its first line
    bool pageBefore = false;    // a page marker (not a section break) before it
    int midBreak = -1;          // a page marker before this line of the block
    std::vector<Line> lines;
};

// Step 1: how many blocks each paragraph gets, and where they split.
void splitIntoBlocks(std::vector<const Paragraph*> paragraphs, int target, std::vector<int>& counts) {
    const std::size_t n = paragraphs.size();
    std::vector<int> chars(n), sentences(n);
    int most = 0;
    for (std::size_t i = 0; i < n; ++i) {
        chars[i] = static_cast<int>(paragraphs[i]->characters());
        sentences[i] = static_cast<int>(paragraphs[i]->sentenceEnds.size());
        most += sentences[i];
    }
    if (target < static_cast<int>(n) || target > most)
        throw std::runtime_error("cannot make " + std::to_string(target) + " blocks from " +
                                 std::to_string(n) + " paragraphs of " + std::to_string(most) + " sentences");
    auto countsFor = [&](int size, std::vector<int>& out) {
        int total = 0;
        out.assign(n, 1);
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = std::clamp((chars[i] + size / 2) / size, 1, sentences[i]);
            total += out[i];
        }
        return total;
    };
    int lo = 1, hi = 1 << 20;
    std::vector<int> scratch;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (countsFor(mid, scratch) <= target)
            hi = mid;
        else
            lo = mid + 1;
    }
    int total = countsFor(lo, counts);
    for (; total < target; ++total) {
        std::size_t best = n;
        for (std::size_t i = 0; i < n; ++i) {
            if (counts[i] >= sentences[i]) continue;
            // Longest blocks first: chars[i] / counts[i] largest.
            if (best == n || static_cast<long long>(chars[i]) * counts[best] >
                                 static_cast<long long>(chars[best]) * counts[i])
                best = i;
        }
        ++counts[best];
    }
}

// Groups a paragraph's sentences into k blocks of even length.
std::vector<std::size_t> groupSentences(const Paragraph& p, int k) {
    const std::vector<std::size_t>& ends = p.sentenceEnds;
    const std::size_t s = ends.size();
    const Cost total = static_cast<Cost>(p.characters());
    // best[g][j]: the first j sentences in g blocks.
    std::vector<std::vector<Cost>> best(static_cast<std::size_t>(k) + 1, std::vector<Cost>(s + 1, kInfinite));
    std::vector<std::vector<std::size_t>> from(best.size(), std::vector<std::size_t>(s + 1, 0));
    best[0][0] = 0;
    auto start = [&](std::size_t j) { return j == 0 ? std::size_t{0} : ends[j - 1]; };
    for (std::size_t g = 1; g <= static_cast<std::size_t>(k); ++g)
        for (std::size_t j = g; j <= s; ++j)
            for (std::size_t i = g - 1; i < j; ++i) {
                if (best[g - 1][i] == kInfinite) continue;
                const Cost len = rangeLength(p, start(i), ends[j - 1]);
                const Cost c = best[g - 1][i] + square(len * k - total);
                if (c < best[g][j]) {
                    best[g][j] = c;
                    from[g][j] = i;
                }
            }
    std::vector<std::size_t> cuts;  // token index where each block ends
    std::size_t j = s;
    for (std::size_t g = static_cast<std::size_t>(k); g > 0; --g) {
        cuts.push_back(ends[j - 1]);
        j = from[g][j];
    }
    std::reverse(cuts.begin(), cuts.end());
    return cuts;
}

// Step 3: the least-cost phrases of one block for a phrase length L (tenths).
std::vector<Line> breakBlock(const Block& b, int tenths) {
    const layout::PhraseShape shape{tenths, std::max(2 * tenths / 10, tenths / 10 + 20), kHeaderLength};
    std::vector<Line> lines;
    for (const PhraseSpan& span : layout::breakPhrases(*b.para, b.begin, b.end, shape)) {
        Line l;
        static_cast<PhraseSpan&>(l) = span;
        lines.push_back(l);
    }
    return lines;
}

int lineCount(const std::vector<Block*>& blocks) {
    int n = 0;
    for (const Block* b : blocks) n += static_cast<int>(b->lines.size());
    return n;
}

// Lays the blocks out in exactly `target` phrases.
void breakIntoPhrases(const std::vector<Block*>& blocks, int target) {
    auto layAt = [&](int tenths) {
        for (Block* b : blocks) b->lines = breakBlock(*b, tenths);
        return lineCount(blocks);
    };
    int lo = 10, hi = 20000;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (layAt(mid) <= target)
            hi = mid;
        else
            lo = mid + 1;
    }
    int total = layAt(lo);
    for (; total < target; ++total) {
        // Split the longest phrase at its best pause, as near its middle as may be.
        Block* where = nullptr;
        std::size_t which = 0;
        for (Block* b : blocks)
            for (std::size_t k = 0; k < b->lines.size(); ++k) {
                const Line& l = b->lines[k];
                if (l.end - l.begin < 2) continue;
                if (!where || l.length > where->lines[which].length) {
                    where = b;
                    which = k;
                }
            }
        if (!where) throw std::runtime_error("too little text for " + std::to_string(target) + " phrases");
        const Paragraph& p = *where->para;
        Line& l = where->lines[which];
        std::size_t cut = 0;
        Cost cutCost = kInfinite;
        for (std::size_t c = l.begin + 1; c < l.end; ++c) {
            const Cost cost = pauseCost(pauseAfter(p, c - 1)) * 1000 +
                              std::abs(rangeLength(p, l.begin, c) - rangeLength(p, c, l.end));
            if (cost < cutCost) {
                cutCost = cost;
                cut = c;
            }
        }
        Line right = l;
        right.begin = cut;
        right.length = rangeLength(p, cut, l.end);
        l.end = cut;
        l.length = rangeLength(p, l.begin, cut);
        where->lines.insert(where->lines.begin() + static_cast<std::ptrdiff_t>(which) + 1, right);
    }
    for (; total > target; --total) {
        // Join the shortest pair of neighbouring phrases, keeping sentence ends.
        Block* where = nullptr;
        std::size_t which = 0;
        int bestScore = 0;
        for (Block* b : blocks)
            for (std::size_t k = 0; k + 1 < b->lines.size(); ++k) {
                const Line& l = b->lines[k];
                const Line& r = b->lines[k + 1];
                if (!fitsStored(l.length + 1 + r.length, tagCharacters(*b->para, l.begin, r.end))) continue;
                const int score = l.length + 1 + b->lines[k + 1].length +
                                  (b->para->tokens[l.end - 1].sentenceEnd ? 1000 : 0);
                if (!where || score < bestScore) {
                    where = b;
                    which = k;
                    bestScore = score;
                }
            }
        if (!where) throw std::runtime_error("too much text for " + std::to_string(target) + " phrases");
        Line& l = where->lines[which];
        l.end = where->lines[which + 1].end;
        l.length = rangeLength(*where->para, l.begin, l.end);
        where->lines.erase(where->lines.begin() + static_cast<std::ptrdiff_t>(which) + 1);
    }
}

// The book's indent profile for continuation lines: the fixed counts, and
// weights by which the other indents share what is left.
struct IndentShare {
    int indent;
    int weight;
};
constexpr std::array<IndentShare, 24> kProfile = {
    {{2, 370},  {7, 470},  {8, 520},  {9, 560},  {11, 600}, {13, 520}, {14, 460}, {15, 400},
     {17, 340}, {18, 285}, {19, 235}, {20, 190}, {21, 150}, {22, 120}, {23, 95},  {24, 75},
     {25, 60},  {26, 47},  {27, 36},  {28, 27},  {29, 20},  {30, 14},  {31, 9},   {32, 5}}};

std::vector<std::pair<int, int>> continuationIndents(int total) {
    std::vector<std::pair<int, int>> counts = {
        {kBlockIndent, kContinuationAt05}, {10, kIndent10}, {12, kIndent12}, {16, kIndent16}};
    const int rest = total - kContinuationAt05 - kIndent10 - kIndent12 - kIndent16;
    long long weights = 0;
    for (const auto& s : kProfile) weights += s.weight;
    std::vector<int> share(kProfile.size());
    std::vector<long long> remainder(kProfile.size());
    int given = 0;
    for (std::size_t i = 0; i < kProfile.size(); ++i) {
        share[i] = static_cast<int>(kProfile[i].weight * static_cast<long long>(rest) / weights);
        remainder[i] = kProfile[i].weight * static_cast<long long>(rest) % weights;
        given += share[i];
    }
    for (; given < rest; ++given) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < kProfile.size(); ++i)
            if (remainder[i] > remainder[best]) best = i;
        ++share[best];
        remainder[best] = -1;
    }
    for (std::size_t i = 0; i < kProfile.size(); ++i) {
        if (share[i] < 1) throw std::runtime_error("indent profile leaves an indent empty");
        counts.emplace_back(kProfile[i].indent, share[i]);
    }
    std::sort(counts.begin(), counts.end());
    return counts;
}

// Step 4.
void assignIndents(std::vector<Block>& blocks) {
    struct Ranked {
        Cost score;
        std::size_t order;
        Line* line;
    };
    std::vector<Ranked> ranked;
    for (Block& b : blocks) {
        const Paragraph& p = *b.para;
        b.lines[0].indent = kBlockIndent;
        int depth = 0;  // in half steps
        for (std::size_t k = 1; k < b.lines.size(); ++k) {
            Line& l = b.lines[k];
            const Token& first = p.tokens[l.begin];
            depth = layout::continuationDepth(layout::pauseAfter(p, l.begin - 1), first, depth);
            const Cost score = depth * 100 + std::min(b.lines[k - 1].length, 30) * 3;
            ranked.push_back({score, ranked.size(), &l});
        }
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.score != b.score ? a.score < b.score : a.order < b.order;
    });
    std::size_t next = 0;
    for (const auto& [indent, count] : continuationIndents(static_cast<int>(ranked.size())))
        for (int i = 0; i < count; ++i) ranked.at(next++).line->indent = indent;
    if (next != ranked.size()) throw std::runtime_error("indent profile does not cover every line");
}

// Step 5.
int placePageBreaksInsideBlocks(std::vector<Block>& blocks) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (blocks[i].part > 0) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return blocks[a].lines.size() > blocks[b].lines.size();
    });
    int placed = 0;
    for (std::size_t i : order) {
        if (placed == kPageBreaksInsideBlocks) break;
        Block& b = blocks[i];
        const int n = static_cast<int>(b.lines.size());
        int best = -1;
        for (int k = 2; k + 2 <= n; ++k) {
            const int indent = b.lines[static_cast<std::size_t>(k)].indent;
            if (std::find(kInnerBreakIndents.begin(), kInnerBreakIndents.end(), indent) ==
                kInnerBreakIndents.end())
                continue;
            if (best < 0 || std::abs(2 * k - n) < std::abs(2 * best - n)) best = k;
        }
        if (best < 0) continue;
        b.midBreak = best;
        ++placed;
    }
    if (placed != kPageBreaksInsideBlocks)
        throw std::runtime_error("too few long blocks for the inner page breaks");
    return placed;
}

// Step 7, within one part: which units open a page. A unit is a block, or
// the half of one on either side of a page break inside it.
struct Unit {
    int lines = 0;
    bool forced = false;  // must open a page
    bool fableStart = false;
    std::size_t block = 0;
    bool secondHalf = false;
};

std::vector<bool> placePages(const std::vector<Unit>& units, int pages, int length) {
    const std::size_t m = units.size();
    const Cost target = 10LL * length / pages;
    const std::size_t p = static_cast<std::size_t>(pages);
    std::vector<std::vector<Cost>> best(p + 1, std::vector<Cost>(m + 1, kInfinite));
    std::vector<std::vector<std::size_t>> from(p + 1, std::vector<std::size_t>(m + 1, 0));
    best[0][0] = 0;
    for (std::size_t k = 0; k < p; ++k)
        for (std::size_t i = 0; i < m; ++i) {
            if (best[k][i] == kInfinite) continue;
            int sum = 0;
            for (std::size_t j = i + 1; j <= m; ++j) {
                if (j - 1 > i && units[j - 1].forced) break;
                sum += units[j - 1].lines;
                const Cost len = 1 + sum + static_cast<Cost>(j - i - 1);
                const Cost c = best[k][i] + square(10 * len - target) -
                               (i > 0 && units[i].fableStart ? kFablePageBonus : 0);
                if (c < best[k + 1][j]) {
                    best[k + 1][j] = c;
                    from[k + 1][j] = i;
                }
            }
        }
    if (best[p][m] == kInfinite) throw std::runtime_error("no way to place the page breaks");
    std::vector<bool> opens(m, false);
    std::size_t j = m;
    for (std::size_t k = p; k > 0; --k) {
        opens[from[k][j]] = true;
        j = from[k][j];
    }
    return opens;
}

// Step 0. The introduction has a fixed number of lines before chapter 1's
// anchor. It holds as many of its opening paragraphs as fit there at the
// density of the chapters (characters per stored line); the rest is left
// out, and said so, rather than crammed into lines no reader could follow.
void keepWhatFitsOfIntroduction(BookSource& book, std::vector<std::string>& notes) {
    long long chapterChars = 0;
    for (const Part& part : book.chapters)
        for (const Fable& f : part.fables) chapterChars += static_cast<long long>(f.characters());
    const long long room = kIntroductionBodyLines * chapterChars / kChapterBodyLines;
    long long used = 0;
    int kept = 0, dropped = 0;
    for (Fable& f : book.introduction.fables) {
        std::size_t keep = 0;
        for (const Paragraph& p : f.paragraphs) {
            used += static_cast<long long>(p.characters()) + (kept > 0 ? 1 : 0);
            if (kept > 0 && (used > room || dropped > 0)) {
                ++dropped;
                continue;
            }
            ++kept;
            ++keep;
        }
        f.paragraphs.resize(keep);
    }
    std::erase_if(book.introduction.fables, [](const Fable& f) { return f.paragraphs.empty(); });
    if (dropped > 0)
        notes.push_back("WARNING: intro.txt has room for about " + std::to_string(room) +
                        " characters before chapter 1; its first " + std::to_string(kept) +
                        " paragraphs are laid out and " + std::to_string(dropped) + " left out");
}

// The blocks in reading order, and how the introduction's share was set.
struct BlockPlan {
    std::vector<Block> blocks;
    int introBlocks = 0;
    int introLines = 0;  // the introduction's phrases
};

// Step 1. The introduction takes as many blocks as its length asks for (its
// paragraphs at least), the chapters the rest.
BlockPlan makeBlocks(BookSource& book) {
    BlockPlan plan;
    std::vector<const Paragraph*> introParagraphs;
    int introSentences = 0;
    for (const Fable& f : book.introduction.fables)
        for (const Paragraph& p : f.paragraphs) {
            introParagraphs.push_back(&p);
            introSentences += static_cast<int>(p.sentenceEnds.size());
        }
    const int natural = (2 * (kIntroductionBodyLines + 1) * kBlocks + (kBlocks + kPhraseLines)) /
                        (2 * (kBlocks + kPhraseLines));
    plan.introBlocks = std::max(static_cast<int>(introParagraphs.size()), std::min(introSentences, natural));
    plan.introLines = kIntroductionBodyLines - (plan.introBlocks - 1);

    auto addPart = [&](Part& part, int index, const std::vector<int>& counts, std::size_t& next) {
        for (std::size_t f = 0; f < part.fables.size(); ++f)
            for (std::size_t q = 0; q < part.fables[f].paragraphs.size(); ++q) {
                Paragraph& p = part.fables[f].paragraphs[q];
                std::size_t begin = 0;
                for (std::size_t cut : groupSentences(p, counts[next])) {
                    Block b;
                    b.part = index;
                    b.fable = static_cast<int>(f);
                    b.para = &p;
                    b.begin = begin;
                    b.end = cut;
                    b.fableStart = q == 0 && begin == 0;
                    b.partStart = f == 0 && b.fableStart;
                    b.paragraphTag = b.partStart;
                    plan.blocks.push_back(b);
                    begin = cut;
                }
                ++next;
            }
    };
    {
        std::vector<int> counts;
        splitIntoBlocks(introParagraphs, plan.introBlocks, counts);
        std::size_t next = 0;
        addPart(book.introduction, 0, counts, next);
    }
    {
        std::vector<const Paragraph*> paragraphs;
        for (const Part& part : book.chapters)
            for (const Fable& f : part.fables)
                for (const Paragraph& p : f.paragraphs) paragraphs.push_back(&p);
        std::vector<int> counts;
        splitIntoBlocks(paragraphs, kBlocks - plan.introBlocks, counts);
        std::size_t next = 0;
        for (std::size_t c = 0; c < book.chapters.size(); ++c)
            addPart(book.chapters[c], static_cast<int>(c) + 1, counts, next);
    }
    return plan;
}

// Step 2. Colours the words of every block, in reading order.
void colourBlocks(const std::vector<Block>& blocks, std::vector<std::string>& notes) {
    std::vector<Token*> tokens;
    for (const Block& b : blocks)
        for (std::size_t i = b.begin; i < b.end; ++i) tokens.push_back(&b.para->tokens[i]);
    for (const ColourReport& r : colourWords(tokens)) {
        std::string s = colourTag(r.colour) + " " + r.name + ": " + std::to_string(r.tagged) + " of " +
                        std::to_string(r.candidates) + " occurrences, " + std::to_string(r.words) + " words";
        if (!r.partlyColoured.empty()) s += " (\"" + r.partlyColoured + "\" at its first occurrences only)";
        notes.push_back(s);
    }
}

// Step 3. The introduction's blocks and the chapters' are broken into their
// own counts of phrases.
void phraseBlocks(BlockPlan& plan, std::vector<std::string>& notes) {
    std::vector<Block*> introBlocks, chapterBlocks;
    for (Block& b : plan.blocks) (b.part == 0 ? introBlocks : chapterBlocks).push_back(&b);
    breakIntoPhrases(introBlocks, plan.introLines);
    breakIntoPhrases(chapterBlocks, kPhraseLines - plan.introLines);
    auto averageLength = [](const std::vector<Block*>& list) {
        long long chars = 0, lines = 0;
        for (const Block* b : list)
            for (const Line& l : b->lines) {
                chars += l.length;
                ++lines;
            }
        return lines ? static_cast<double>(chars) / static_cast<double>(lines) : 0.0;
    };
    char s[200];
    std::snprintf(s, sizeof s, "introduction: %d blocks, %d phrases of %.1f characters on average",
                  plan.introBlocks, plan.introLines, averageLength(introBlocks));
    notes.push_back(s);
    std::snprintf(s, sizeof s, "chapters: %d blocks, %d phrases of %.1f characters on average",
                  kBlocks - plan.introBlocks, kPhraseLines - plan.introLines, averageLength(chapterBlocks));
    notes.push_back(s);
}

// Step 6. "l00|p> " inside the text: the longest fables that do not open a
// chapter.
void placeParagraphTagsInText(const BookSource& book, std::vector<Block>& blocks,
                              std::vector<std::string>& notes) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (blocks[i].part > 0 && blocks[i].fableStart && !blocks[i].partStart) starts.push_back(i);
    auto fableChars = [&](std::size_t i) {
        return book.chapters[static_cast<std::size_t>(blocks[i].part - 1)]
            .fables[static_cast<std::size_t>(blocks[i].fable)]
            .characters();
    };
    std::stable_sort(starts.begin(), starts.end(),
                     [&](std::size_t a, std::size_t b) { return fableChars(a) > fableChars(b); });
    if (starts.size() < static_cast<std::size_t>(kParagraphTagsInText))
        throw std::runtime_error("too few fables");
    for (int k = 0; k < kParagraphTagsInText; ++k) {
        Block& b = blocks[starts[static_cast<std::size_t>(k)]];
        b.paragraphTag = true;
        notes.push_back("\"" + std::string(kParagraphLine) + "\" at the start of chapter " +
                        std::to_string(b.part) + ", fable " + std::to_string(b.fable + 1));
    }
}

// The units of one part (the introduction or a chapter) and the pages they
// are shared into.
struct PartUnits {
    std::vector<Unit> units;
    int length = 0;
    int pages = 0;
    int minPages = 0;
    std::vector<bool> opens;
};

// Step 7. Shares the pages out among the parts and places them in each;
// marks the blocks that open a page.
std::vector<PartUnits> placePageBreaksBetweenBlocks(std::vector<Block>& blocks) {
    std::vector<PartUnits> parts(kChapters + 1);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Block& b = blocks[i];
        PartUnits& pu = parts[static_cast<std::size_t>(b.part)];
        const int tag = b.paragraphTag ? 1 : 0;
        const int n = static_cast<int>(b.lines.size());
        const bool forced = b.paragraphTag && !b.partStart;
        if (b.midBreak < 0) {
            pu.units.push_back({n + tag, forced, b.fableStart, i, false});
        } else {
            pu.units.push_back({b.midBreak + tag, forced, b.fableStart, i, false});
            pu.units.push_back({n - b.midBreak, true, false, i, true});
        }
    }
    const int totalPages = kPageBreaksBetweenBlocks + 1 + kChapters + kPageBreaksInsideBlocks;
    long long allLength = 0;
    for (PartUnits& pu : parts) {
        // Its page markers and section breaks, one before each unit, and its lines.
        pu.length = static_cast<int>(pu.units.size());
        for (const Unit& u : pu.units) {
            pu.length += u.lines;
            if (u.forced || &u == &pu.units.front()) ++pu.minPages;
        }
        allLength += pu.length;
    }
    int given = 0;
    for (PartUnits& pu : parts) {
        pu.pages = std::max(pu.minPages, static_cast<int>(totalPages * pu.length / allLength));
        given += pu.pages;
    }
    // Over or under the quota: totalPages * length - pages * allLength.
    auto slack = [&](const PartUnits& pu) {
        return static_cast<long long>(totalPages) * pu.length - static_cast<long long>(pu.pages) * allLength;
    };
    for (; given < totalPages; ++given) {
        PartUnits* best = nullptr;
        for (PartUnits& pu : parts)
            if (pu.pages < static_cast<int>(pu.units.size()) && (!best || slack(pu) > slack(*best)))
                best = &pu;
        if (!best) throw std::runtime_error("too few blocks for the page count");
        ++best->pages;
    }
    for (; given > totalPages; --given) {
        PartUnits* best = nullptr;
        for (PartUnits& pu : parts)
            if (pu.pages > pu.minPages && (!best || slack(pu) < slack(*best))) best = &pu;
        if (!best) throw std::runtime_error("too many fixed page breaks");
        --best->pages;
    }
    for (PartUnits& pu : parts) {
        pu.opens = placePages(pu.units, pu.pages, pu.length);
        for (std::size_t u = 0; u < pu.units.size(); ++u)
            if (pu.opens[u] && !pu.units[u].secondHalf && u > 0) blocks[pu.units[u].block].pageBefore = true;
    }
    return parts;
}

// Step 8. Section breaks before anchors: after the chapters with the longest
// last page. Indexed by chapter.
std::vector<bool> chooseSectionBreaksBeforeAnchors(const std::vector<PartUnits>& parts) {
    std::vector<bool> sectionAfter(kChapters + 1, false);
    std::vector<std::pair<int, int>> lastPage;  // (length, chapter)
    for (int c = 1; c < kChapters; ++c) {
        const PartUnits& pu = parts[static_cast<std::size_t>(c)];
        std::size_t start = pu.units.size();
        while (start > 0 && !pu.opens[start - 1]) --start;
        --start;
        int len = 1;
        for (std::size_t u = start; u < pu.units.size(); ++u) len += pu.units[u].lines + (u > start ? 1 : 0);
        lastPage.emplace_back(len, c);
    }
    std::stable_sort(lastPage.begin(), lastPage.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (int k = 0; k < kSectionBeforeAnchor; ++k)
        sectionAfter[static_cast<std::size_t>(lastPage[k].second)] = true;
    return sectionAfter;
}

// Step 9. Headings: the longest titles are split. Indexed by chapter - 1.
std::vector<bool> chooseSplitHeadings(const BookSource& book) {
    std::vector<bool> split(kChapters, false);
    std::vector<int> order(kChapters);
    for (int c = 0; c < kChapters; ++c) order[static_cast<std::size_t>(c)] = c;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return book.chapters[static_cast<std::size_t>(a)].title.size() >
               book.chapters[static_cast<std::size_t>(b)].title.size();
    });
    for (int k = 0; k < kSplitHeadings; ++k)
        split[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] = true;
    return split;
}

// The stored lines, the words each shows and the page each is on, and the
// chapter titles.
void writeStoredLines(const BookSource& book, const std::vector<Block>& blocks,
                      const std::vector<bool>& sectionAfter, const std::vector<bool>& split,
                      LaidOutBook& out) {
    const std::string boldOpening = indentCode(0) + std::string(kBoldOpening);
    const std::string boldClosing = std::string(kNormalOpening) + " ";
    int page = 1;
    auto emit = [&](std::string line, std::string words) {
        out.stored.push_back(std::move(line));
        out.words.push_back(std::move(words));
        out.page.push_back(page);
    };
    auto emitPage = [&](const std::string& after) {
        ++page;
        emit(pageMarker(page) + after, "");
    };
    auto phrase = [&](const Block& b, const Line& l, bool tagged) {
        return layout::phraseText(*b.para, l.begin, l.end, tagged);
    };
    auto emitPart = [&](int index) {
        bool first = true;
        for (const Block& b : blocks) {
            if (b.part != index) continue;
            if (!first) {
                if (b.pageBefore)
                    emitPage(" ");
                else
                    emit(std::string(kSectionBreakLine), "");
                if (b.paragraphTag) emit(std::string(kParagraphLine), "");
            }
            first = false;
            for (std::size_t k = 0; k < b.lines.size(); ++k) {
                if (static_cast<int>(k) == b.midBreak) emitPage(" ");
                const Line& l = b.lines[k];
                emit(indentCode(l.indent) + phrase(b, l, true) + " ", phrase(b, l, false));
            }
        }
    };

    emit(book.header, "");
    emit(boldOpening + book.title + boldClosing, book.title);
    emit(std::string(kBylineMarker) + book.author + " 1 ", "");
    // A heading must not open with a letter that would make its line a marker.
    std::string introTitle = book.introduction.title;
    if (isMarkerLetter(introTitle[0])) introTitle[0] = static_cast<char>(introTitle[0] - 'a' + 'A');
    emit(indentCode(0) + introTitle + " ", introTitle);
    emitPage(" ");
    emit(std::string(kParagraphLine), "");
    emitPart(0);
    for (int c = 1; c <= kChapters; ++c) {
        const std::string& title = book.chapters[static_cast<std::size_t>(c - 1)].title;
        out.chapterTitles.push_back(title);
        emit(indentCode(0) + tagText(anchorName(c)) + " ", "");
        const std::string number = std::to_string(c) + ".  ";
        if (split[static_cast<std::size_t>(c - 1)]) {
            std::size_t at = title.rfind(' ', title.size() / 2);
            if (at == std::string::npos || at == 0) at = title.find(' ');
            if (at == std::string::npos)
                throw std::runtime_error("chapter " + std::to_string(c) + ": one-word title cannot be split");
            emit(boldOpening + number + title.substr(0, at) + "  ", number + title.substr(0, at));
            emit(indentCode(kHeadingContinuationIndent) + title.substr(at + 1) + boldClosing,
                 title.substr(at + 1));
        } else {
            emit(boldOpening + number + title + boldClosing, number + title);
        }
        emitPage(" ");
        emit(std::string(kParagraphLine), "");
        emitPart(c);
        if (c < kChapters && sectionAfter[static_cast<std::size_t>(c)])
            emit(std::string(kSectionBreakLine), "");
    }
    // The book's last phrase ends without a blank, and its last page marker too.
    out.stored.back().pop_back();
    ++page;
    emit(pageMarker(page), "");
}

// Throws with every figure the stored lines miss.
void requireFigures(const std::vector<std::string>& stored) {
    const std::vector<std::string> failures = checkFigures(stored);
    if (failures.empty()) return;
    std::string all = "the laid-out book misses its figures:";
    for (const auto& f : failures) all += "\n  " + f;
    throw std::runtime_error(all);
}

}  // namespace

// The steps of the overview at the top, in its order.
LaidOutBook layBook(BookSource& book) {
    LaidOutBook out;
    keepWhatFitsOfIntroduction(book, out.notes);
    BlockPlan plan = makeBlocks(book);
    colourBlocks(plan.blocks, out.notes);
    phraseBlocks(plan, out.notes);
    assignIndents(plan.blocks);
    placePageBreaksInsideBlocks(plan.blocks);
    placeParagraphTagsInText(book, plan.blocks, out.notes);
    const std::vector<PartUnits> parts = placePageBreaksBetweenBlocks(plan.blocks);
    const std::vector<bool> sectionAfter = chooseSectionBreaksBeforeAnchors(parts);
    const std::vector<bool> split = chooseSplitHeadings(book);
    writeStoredLines(book, plan.blocks, sectionAfter, split, out);
    requireFigures(out.stored);
    return out;
}

std::vector<std::string> checkFigures(const std::vector<std::string>& stored) {
    std::vector<std::string> failures;
    auto expect = [&](bool ok, const std::string& what) {
        if (!ok) failures.push_back(what);
    };
    auto at = [&](int i) -> const std::string& {
        static const std::string none;
        return i >= 0 && i < static_cast<int>(stored.size()) ? stored[static_cast<std::size_t>(i)] : none;
    };
    auto indentOf = [](const std::string& s) {
        return s.size() >= kIndentCodeLength && isIndentLine(s) ? (s[1] - '0') * 10 + (s[2] - '0') : -1;
    };
    auto isInnerBreakIndent = [](int indent) {
        return std::find(kInnerBreakIndents.begin(), kInnerBreakIndents.end(), indent) !=
               kInnerBreakIndents.end();
    };
    const std::string boldOpening = indentCode(0) + std::string(kBoldOpening);
    const std::string boldClosing = std::string(kNormalOpening) + " ";
    const int n = static_cast<int>(stored.size());
    expect(n == kBookLines, "line count " + std::to_string(n));
    expect(at(0).size() == static_cast<std::size_t>(kHeaderLength), "header length");
    for (int i = 1; i < n; ++i)
        expect(at(i).size() < at(0).size(), "line " + std::to_string(i) + " is as long as the header");
    std::map<int, int> indents;
    int pages = 0, sections = 0, pTags = 0, anchors = 0, noBlank = 0;
    std::map<std::string, int> tags;
    for (int i = 1; i < n; ++i) {
        const std::string& s = at(i);
        if (s.empty()) {
            expect(false, "empty line " + std::to_string(i));
            continue;
        }
        if (s.back() != ' ') ++noBlank;
        if (isMarkerLine(s) && isMarkerLine(at(i + 1)))
            expect(false, "adjacent markers at " + std::to_string(i));
        if (beginsSectionBreak(s)) {
            ++sections;
            expect(s == kSectionBreakLine, "section break " + std::to_string(i));
            const int next = indentOf(at(i + 1));
            expect(next == kBlockIndent || holdsAnchorTag(at(i + 1)),
                   "after section break " + std::to_string(i));
        } else if (isPageMarker(s)) {
            ++pages;
        } else {
            const int indent = indentOf(s);
            expect(indent >= 0, "line code " + std::to_string(i));
            ++indents[indent];
            const std::string body = s.substr(kIndentCodeLength);
            if (indent == 0 && !body.empty())
                expect(!isMarkerLetter(body[0]), "indent-00 body " + std::to_string(i));
            if (isAnchorLine(body)) {
                ++anchors;
                expect(s == indentCode(0) + tagText(anchorName(anchors)) + " ",
                       "anchor " + std::to_string(i));
                expect(anchors != 1 || i == kFirstAnchorLine, "first anchor line");
                expect(at(i + 1).starts_with(boldOpening + std::to_string(anchors) + ".  "),
                       "heading " + std::to_string(i + 1));
            }
            expect(!holdsSectionBreak(body), "s000 in " + std::to_string(i));
            if (s == kParagraphLine) {
                ++pTags;
                expect(isPageMarker(at(i - 1)) && indentOf(at(i + 1)) == kBlockIndent,
                       "l00|p> " + std::to_string(i));
            }
            int open = 0;
            for (std::size_t b = s.find(kTagBar); b != std::string::npos; b = s.find(kTagBar, b + 1)) {
                const std::size_t close = s.find(kTagClose, b);
                const std::string tag = s.substr(b, close == std::string::npos ? 1 : close - b + 1);
                ++tags[tag.starts_with(kAnchorTagOpening) ? tagText(kAnchorPrefix) : tag];
                if (tag.size() == kShortTagLength && tagAt(s, b) == TagKind::Colour) {
                    if (tag[1] == kBodyColourTag) {
                        expect(open != 0, "unopened |4> in " + std::to_string(i));
                        open = 0;
                    } else {
                        expect(open == 0, "nested colour in " + std::to_string(i));
                        open = tag[1];
                    }
                }
            }
            expect(open == 0, "unclosed colour in " + std::to_string(i));
            // Opened, the code becomes the indent in blanks (at most kMaxIndent).
            expect(std::min(indent, kMaxIndent) + static_cast<int>(body.size()) >= 3,
                   "short line " + std::to_string(i));
        }
    }
    expect(noBlank == kLinesWithoutFinalBlank, "lines without a final blank: " + std::to_string(noBlank + 1));
    // Two blanks end the first line of each split heading, and nothing else.
    const std::string headingContinuation = indentCode(kHeadingContinuationIndent);
    int twoBlanks = 0;
    for (int i = 1; i < n; ++i) {
        const std::string& s = at(i);
        if (s.size() < 2 || !s.ends_with("  ")) continue;
        ++twoBlanks;
        expect(s.starts_with(boldOpening) && at(i + 1).starts_with(headingContinuation) &&
                   at(i + 1).size() > boldClosing.size() && at(i + 1).ends_with(boldClosing),
               "two blanks at " + std::to_string(i));
    }
    expect(twoBlanks == kSplitHeadings, "split headings " + std::to_string(twoBlanks));
    // What follows a page marker.
    std::map<std::string, int> afterPage;
    for (int i = 1; i + 1 < n; ++i) {
        if (!isPageMarker(at(i))) continue;
        const std::string& next = at(i + 1);
        const int indent = indentOf(next);
        std::string kind = next == kParagraphLine   ? "p"
                           : i == kBylineLine       ? "heading"
                           : indent == kBlockIndent ? "05"
                                                    : "";
        if (kind.empty() && isInnerBreakIndent(indent)) kind = "inner";
        ++afterPage[kind];
    }
    const std::map<std::string, int> wantAfterPage = {{"05", kPageMarkersBeforeBlocks},
                                                      {"p", kParagraphLines},
                                                      {"heading", 1},
                                                      {"inner", kPageBreaksInsideBlocks}};
    expect(afterPage == wantAfterPage, "successors of page markers");
    int sectionThenAnchor = 0;
    for (int i = 1; i + 1 < n; ++i)
        if (beginsSectionBreak(at(i)) && holdsAnchorTag(at(i + 1))) ++sectionThenAnchor;
    expect(sectionThenAnchor == kSectionBeforeAnchor, "section breaks before anchors");
    expect(pages == kPageMarkers, "page markers " + std::to_string(pages));
    expect(sections == kSectionBreaks, "section breaks " + std::to_string(sections));
    expect(pTags == kParagraphLines, "l00|p> lines " + std::to_string(pTags));
    expect(anchors == kChapters, "anchors " + std::to_string(anchors));
    int indentLines = 0;
    for (const auto& [indent, count] : indents) {
        indentLines += count;
        expect(indent <= kMaxIndentUsed, "indent " + std::to_string(indent));
    }
    expect(indentLines == kIndentLines, "indent lines " + std::to_string(indentLines));
    for (int want = 0; want <= kMaxIndentUsed; ++want) {
        const bool unused =
            std::find(kUnusedIndents.begin(), kUnusedIndents.end(), want) != kUnusedIndents.end();
        expect(unused != (indents.count(want) == 1), "indent set at " + std::to_string(want));
    }
    expect(indents[kBlockIndent] == kIndent05 && indents[12] == kIndent12 && indents[10] == kIndent10 &&
               indents[16] == kIndent16,
           "top indents");
    for (const auto& [indent, count] : indents)
        if (indent != kBlockIndent && indent != 12 && indent != 10 && indent != 16)
            expect(count < kIndent16, "indent " + std::to_string(indent) + " too frequent");
    const std::map<std::string, int> wantTags = {{std::string(kBodyColourOpening), kColour4},
                                                 {colourTag(9), kColour9},
                                                 {colourTag(7), kColour7},
                                                 {colourTag(8), kColour8},
                                                 {colourTag(6), kColour6},
                                                 {tagText(std::string(1, kParagraphTag)), kParagraphLines},
                                                 {std::string(kBoldOpening), kBoldLines},
                                                 {std::string(kNormalOpening), kBoldLines},
                                                 {tagText(kAnchorPrefix), kChapters}};
    expect(tags == wantTags, "tag counts");
    // Page markers in order.
    int number = 1;
    for (int i = kBylineLine; i < n; ++i) {
        const std::string& s = at(i);
        if (!isPageMarker(s)) continue;
        if (i == kBylineLine) {
            expect(isBylineMarker(s) && s.size() > kBylineMarker.size() + 3 && s.ends_with(" 1 "),
                   "byline marker");
            continue;
        }
        ++number;
        const std::string want = pageMarker(number) + (i == n - 1 ? "" : " ");
        expect(s == want, "page marker " + std::to_string(i) + " is " + s);
    }
    expect(at(kFirstPageLine) == pageMarker(2) + " " && at(kFirstPageLine + 1) == kParagraphLine &&
               indentOf(at(kIntroductionHeadingLine)) == 0,
           "opening lines");
    expect(at(kTitleLine).starts_with(boldOpening) &&
               at(kTitleLine).size() > boldOpening.size() + boldClosing.size() &&
               at(kTitleLine).ends_with(boldClosing),
           "title line");
    return failures;
}

}  // namespace varnet::laybook
