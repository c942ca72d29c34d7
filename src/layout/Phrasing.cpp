#include "Phrasing.h"

#include "LineFormat.h"
#include "WordClasses.h"

#include <algorithm>

namespace varnet::layout {

namespace {

Cost square(Cost x) {
    return x * x;
}

}  // namespace

Pause pauseAfter(const Paragraph& p, std::size_t i) {
    const Token& t = p.tokens[i];
    if (t.sentenceEnd) return Pause::Sentence;
    if (t.clauseEnd) return Pause::Clause;
    if (t.comma) return Pause::Comma;
    const Token& next = p.tokens[i + 1];
    if (t.closesQuote || next.opensQuote) return Pause::Quote;
    if (t.hasAfter()) return Pause::Comma;
    if (isDeterminer(t.key) || isPreposition(t.key) || isConjunction(t.key) || isSubordinator(t.key))
        return Pause::Sticky;
    if (isConjunction(next.key)) return Pause::Conjunction;
    if (isSubordinator(next.key)) return Pause::Subordinate;
    if (isPreposition(next.key)) return Pause::Preposition;
    return Pause::None;
}

Cost pauseCost(Pause pause) {
    switch (pause) {
        case Pause::Sentence:
            return 0;
        case Pause::Clause:
            return 500;
        case Pause::Comma:
            return 1000;
        case Pause::Quote:
            return 1000;
        case Pause::Conjunction:
            return 2000;
        case Pause::Subordinate:
            return 2500;
        case Pause::Preposition:
            return 3000;
        case Pause::None:
            return 15000;
        case Pause::Sticky:
            return 40000;
    }
    return 0;
}

int continuationDepth(Pause pause, const Token& first, int depth) {
    switch (pause) {
        case Pause::Sentence:
            depth = 0;
            break;
        case Pause::Clause:
            depth = 2;
            break;
        case Pause::Comma:
            if (isConjunction(first.key) || isSubordinator(first.key) || first.opensQuote)
                depth = std::max(2, depth - 2);
            else
                depth = std::max(2, depth);
            break;
        case Pause::Quote:
            depth = std::max(2, depth - 2);
            break;
        case Pause::Conjunction:
        case Pause::Subordinate:
            depth = std::max(2, depth);
            break;
        case Pause::Preposition:
            depth += 2;
            break;
        case Pause::None:
        case Pause::Sticky:
            depth += 3;
            break;
    }
    return std::min(depth, kMaxDepth);
}

int colourTagCharacters(const Paragraph& p, std::size_t begin, std::size_t end) {
    constexpr int kTagPair = 2 * static_cast<int>(kShortTagLength);
    int n = 0;
    for (std::size_t i = begin; i < end; ++i) n += p.tokens[i].colour != 0 ? kTagPair : 0;
    return n;
}

bool fitsStoredLine(int length, int tags, int storedLimit) {
    return static_cast<int>(kIndentCodeLength) + length + tags + 1 < storedLimit;
}

std::vector<PhraseSpan> breakPhrases(const Paragraph& p, std::size_t begin, std::size_t end,
                                     const PhraseShape& shape) {
    constexpr int kTagPair = 2 * static_cast<int>(kShortTagLength);
    const std::size_t n = end - begin;
    std::vector<Cost> best(n + 1, kInfiniteCost);
    std::vector<std::size_t> from(n + 1, 0);
    best[0] = 0;
    for (std::size_t j = 1; j <= n; ++j) {
        const Cost breakCost = j < n ? pauseCost(pauseAfter(p, begin + j - 1)) : 0;
        int len = -1;
        int tags = 0;
        int inside = 0;
        for (std::size_t i = j; i-- > 0;) {
            const Token& t = p.tokens[begin + i];
            len += static_cast<int>(t.text.size()) + 1;
            tags += t.colour != 0 ? kTagPair : 0;
            if (i + 1 < j && t.sentenceEnd) ++inside;
            if ((len > shape.longest || !fitsStoredLine(len, tags, shape.storedLimit)) && i + 1 < j) break;
            if (best[i] == kInfiniteCost) continue;
            const Cost c = best[i] + square(10 * static_cast<Cost>(len) - shape.tenths) +
                           inside * kSentenceInsidePhrase + breakCost;
            if (c < best[j]) {
                best[j] = c;
                from[j] = i;
            }
        }
    }
    std::vector<PhraseSpan> spans;
    for (std::size_t j = n; j > 0; j = from[j]) {
        PhraseSpan s;
        s.begin = begin + from[j];
        s.end = begin + j;
        s.length = rangeLength(p, s.begin, s.end);
        spans.push_back(s);
    }
    std::reverse(spans.begin(), spans.end());
    return spans;
}

}  // namespace varnet::layout
