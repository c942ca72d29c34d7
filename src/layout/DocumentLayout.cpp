#include "DocumentLayout.h"

#include "LineFormat.h"
#include "Phrasing.h"
#include "StoredLines.h"
#include "Tokens.h"
#include "WordClasses.h"
#include "WordIndexBuilder.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

// How a book is laid out:
// 1. Every text is mended (mendText) and split into tokens; a verse block
//    gives one paragraph per source line, and an empty verse line parts its
//    stanzas.
// 2. Each word gets one colour for the whole book (WordCounts): a first
//    pass counts the words of every paragraph in reading order, keeping
//    counts per word and no tokens.
// Then chapter by chapter, each chapter's paragraphs mended and split again
// one at a time and its working data freed before the next:
// 3. A prose paragraph is broken into least-cost phrases; it opens at
//    indent 05, and each continuation phrase steps right by the depth its
//    pause gives (continuationDepth), so that a new sentence comes back to
//    05. A verse line is one phrase at the verse indent unless it is long;
//    then it wraps at a deeper indent.
// 4. Per chapter, a least-cost search places the page markers: pages near
//    kPageLines lines, breaking between paragraphs where it can, else
//    between sentences, else between phrases. Paragraphs on one page are
//    parted by section breaks.
// 5. The stored lines are written, and the word index takes the words of
//    the text each line shows as it is written.

namespace varnet::layout {

namespace {

constexpr int kParagraphIndent = 5;
constexpr int kVerseIndent = 7;
constexpr int kVerseWrapIndent = 15;
constexpr int kHeadingContinuationIndent = 8;
// Headings longer than this are laid over more lines.
constexpr std::size_t kHeadingWidth = 56;
constexpr int kMaxAnchors = 999;

// Pages: their wanted length in stored lines (the marker included), and the
// range outside which a page costs dearly.
constexpr int kPageLines = 12;
constexpr int kShortestPage = 6;
constexpr int kLongestPage = 18;
constexpr Cost kPageLengthWeight = 4;
constexpr Cost kShortPageCost = 1'000'000;
// What a page break costs where it falls.
constexpr Cost kBreakAtSentence = 8;
constexpr Cost kBreakAtVerseLine = 8;
constexpr Cost kBreakInSentence = 30;

constexpr PhraseShape kProseShape{190, 40, 1 << 30};

const std::string kHeaderOpening = "StiloDemoReader ";

int indentForDepth(int depth) {
    return kParagraphIndent + depth * 9 / 4;
}

// A piece of a chapter before it is laid out: its mended texts, each of
// which has words (a mended text is empty exactly when it has no tokens).
struct Piece {
    enum class Kind { Prose, Verse, Heading };
    Kind kind = Kind::Prose;
    std::vector<std::string> texts;  // prose: one; verse: one per line
    std::string heading;             // a folded chapter's heading text
};

struct ChapterPlan {
    std::string heading;  // shown in the bold heading line(s)
    std::string title;    // as the contents tree lists it
    std::vector<Piece> pieces;
};

// One line of a chapter's body, before page markers and section breaks.
// Its text is kept in the body's arena: the stored line, then what it shows.
struct BodyLine {
    std::uint32_t at = 0;  // where the stored line opens in the arena
    std::uint32_t storedLength = 0;
    std::uint32_t shownLength = 0;
    bool sectionBefore = false;      // a section break goes before it unless a page marker does
    bool pageBefore = false;         // a page marker must go before it
    Cost breakCost = kInfiniteCost;  // what a page marker before it costs
};

// A chapter's body lines in reading order, their text in one string rather
// than two strings a line, so that a long chapter costs little more than
// its characters until its lines are written out at their own length.
struct Body {
    std::string arena;
    std::vector<BodyLine> lines;

    // Opens a line whose stored text is appended to the arena next.
    BodyLine& open() {
        BodyLine& line = lines.emplace_back();
        line.at = static_cast<std::uint32_t>(arena.size());
        return line;
    }
    // The stored text is in; what the line shows is appended next.
    void storedDone(BodyLine& line) const {
        line.storedLength = static_cast<std::uint32_t>(arena.size() - line.at);
    }
    void shownDone(BodyLine& line) const {
        line.shownLength = static_cast<std::uint32_t>(arena.size() - line.at - line.storedLength);
    }
    std::string_view stored(const BodyLine& line) const {
        return std::string_view(arena).substr(line.at, line.storedLength);
    }
    std::string_view shown(const BodyLine& line) const {
        return std::string_view(arena).substr(line.at + line.storedLength, line.shownLength);
    }
};

std::string numbered(int number, const std::string& title) {
    return std::to_string(number) + ".  " + title;
}

// A heading's text laid over lines of at most kHeadingWidth characters, cut
// at blanks; a word longer than that keeps a line of its own.
std::vector<std::string> headingParts(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (text.size() - at > kHeadingWidth) {
        std::size_t cut = text.rfind(' ', at + kHeadingWidth);
        if (cut == std::string::npos || cut <= at) cut = text.find(' ', at + kHeadingWidth);
        if (cut == std::string::npos) break;
        parts.push_back(text.substr(at, cut - at));
        at = cut + 1;
    }
    parts.push_back(text.substr(at));
    return parts;
}

// The bold heading's stored lines and what each shows. All but the last
// line end in two blanks; the others go on at a small indent.
void headingLines(const std::string& text, std::vector<std::string>& stored,
                  std::vector<std::string>& shown) {
    const std::vector<std::string> parts = headingParts(text);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string line =
            i == 0 ? indentCode(0) + std::string(kBoldOpening) : indentCode(kHeadingContinuationIndent);
        line += parts[i];
        line += i + 1 < parts.size() ? std::string("  ") : std::string(kNormalOpening) + " ";
        stored.push_back(std::move(line));
        shown.push_back(parts[i]);
    }
}

// A chapter's pieces in reading order.
std::vector<Piece> chapterPieces(const Chapter& chapter) {
    std::vector<Piece> pieces;
    for (const Block& block : chapter.blocks) {
        if (block.kind == Block::Kind::Paragraph) {
            std::string text;
            for (const std::string& line : block.lines) {
                if (!text.empty()) text += ' ';
                text += line;
            }
            std::string mended = mendText(text);
            if (mended.empty()) continue;
            Piece piece;
            piece.texts.push_back(std::move(mended));
            pieces.push_back(std::move(piece));
            continue;
        }
        Piece stanza;
        stanza.kind = Piece::Kind::Verse;
        for (const std::string& line : block.lines) {
            std::string mended = mendText(line);
            if (!mended.empty()) {
                stanza.texts.push_back(std::move(mended));
            } else if (!stanza.texts.empty()) {
                pieces.push_back(std::move(stanza));
                stanza = Piece();
                stanza.kind = Piece::Kind::Verse;
            }
        }
        if (!stanza.texts.empty()) pieces.push_back(std::move(stanza));
    }
    return pieces;
}

// The plan of chapter `c` (from 0). Anchors have three digits: the chapters
// past the last anchor are laid out inside the last anchored chapter, each
// under its heading.
ChapterPlan planChapter(const BookDocument& book, std::size_t c) {
    auto headingOf = [&](std::size_t k, std::string& name) {
        const int number = static_cast<int>(k) + 1;
        const std::string title = mendText(book.chapters[k].title);
        name = title.empty() ? "Chapter " + std::to_string(number) : title;
        return title.empty() ? name : numbered(number, title);
    };
    ChapterPlan plan;
    plan.heading = headingOf(c, plan.title);
    plan.pieces = chapterPieces(book.chapters[c]);
    if (static_cast<int>(c) + 1 == kMaxAnchors) {
        for (std::size_t k = c + 1; k < book.chapters.size(); ++k) {
            std::string name;
            Piece headingPiece;
            headingPiece.kind = Piece::Kind::Heading;
            headingPiece.heading = headingOf(k, name);
            plan.pieces.push_back(std::move(headingPiece));
            for (Piece& piece : chapterPieces(book.chapters[k])) plan.pieces.push_back(std::move(piece));
        }
    }
    return plan;
}

// A paragraph's tokens, each with its word's colour.
Paragraph colouredParagraph(const std::string& text, const WordCounts& counts) {
    Paragraph p = parseParagraph(text);
    for (Token& t : p.tokens) t.colour = counts.colourOf(t.key);
    return p;
}

void addPhrase(const Paragraph& p, const PhraseSpan& span, int indent, Cost breakCost, bool sectionBefore,
               Body& body) {
    BodyLine& line = body.open();
    body.arena += indentCode(indent);
    appendPhraseText(body.arena, p, span.begin, span.end, true);
    body.arena += ' ';
    body.storedDone(line);
    appendPhraseText(body.arena, p, span.begin, span.end, false);
    body.shownDone(line);
    line.breakCost = breakCost;
    line.sectionBefore = sectionBefore;
}

// The chapter's body lines in reading order.
Body bodyLines(const ChapterPlan& plan, const WordCounts& counts) {
    Body body;
    bool opening = true;  // the next piece follows "l00|p> "
    for (const Piece& piece : plan.pieces) {
        if (piece.kind == Piece::Kind::Heading) {
            std::vector<std::string> stored, shown;
            headingLines(piece.heading, stored, shown);
            stored.push_back(std::string(kParagraphLine));
            shown.emplace_back();
            for (std::size_t i = 0; i < stored.size(); ++i) {
                BodyLine& line = body.open();
                body.arena += stored[i];
                body.storedDone(line);
                body.arena += shown[i];
                body.shownDone(line);
                line.pageBefore = i == 0;
                line.breakCost = i == 0 ? 0 : kInfiniteCost;
            }
            opening = true;
            continue;
        }
        const bool sectionBefore = !opening;
        // The line after a folded chapter's "l00|p> " keeps to it.
        const Cost openingCost = opening && !body.lines.empty() ? kInfiniteCost : 0;
        opening = false;
        if (piece.kind == Piece::Kind::Verse) {
            for (std::size_t k = 0; k < piece.texts.size(); ++k) {
                const Paragraph p = colouredParagraph(piece.texts[k], counts);
                // A verse line is kept whole unless it is longer than a phrase may be.
                const int length = rangeLength(p, 0, p.tokens.size());
                const std::vector<PhraseSpan> spans =
                    length <= kProseShape.longest ? std::vector<PhraseSpan>{{0, p.tokens.size(), length}}
                                                  : breakPhrases(p, 0, p.tokens.size(), kProseShape);
                for (std::size_t s = 0; s < spans.size(); ++s) {
                    const bool first = k == 0 && s == 0;
                    addPhrase(p, spans[s], s == 0 ? kVerseIndent : kVerseWrapIndent,
                              first    ? openingCost
                              : s == 0 ? kBreakAtVerseLine
                                       : kBreakInSentence,
                              first && sectionBefore, body);
                }
            }
            continue;
        }
        const Paragraph p = colouredParagraph(piece.texts.front(), counts);
        const std::vector<PhraseSpan> spans = breakPhrases(p, 0, p.tokens.size(), kProseShape);
        int depth = 0;
        for (std::size_t s = 0; s < spans.size(); ++s) {
            if (s == 0) {
                addPhrase(p, spans[s], kParagraphIndent, openingCost, sectionBefore, body);
                continue;
            }
            const Pause pause = pauseAfter(p, spans[s].begin - 1);
            depth = continuationDepth(pause, p.tokens[spans[s].begin], depth);
            addPhrase(p, spans[s], indentForDepth(depth),
                      pause == Pause::Sentence ? kBreakAtSentence : kBreakInSentence, false, body);
        }
    }
    return body;
}

// Which body lines a page marker goes before. The chapter's first page
// opens with its marker and "l00|p> "; every page counts its marker, its
// lines and the section breaks between them. The chapter's last page may be
// short: it runs on into the next chapter's anchor and heading.
std::vector<bool> placePageMarkers(const std::vector<BodyLine>& body) {
    const std::size_t n = body.size();
    std::vector<bool> pageBefore(n, false);
    if (n == 0) return pageBefore;
    std::vector<Cost> best(n + 1, kInfiniteCost);
    std::vector<std::size_t> from(n + 1, 0);
    best[0] = 0;
    // A page [a, b) of body lines, its length in stored lines.
    auto pageCost = [](int length, bool last) -> Cost {
        if (last && length <= kPageLines) return 0;
        const Cost off = length - kPageLines;
        return off * off * kPageLengthWeight + (length < kShortestPage ? kShortPageCost : 0);
    };
    for (std::size_t b = 1; b <= n; ++b) {
        int length = 0;
        for (std::size_t a = b; a-- > 0;) {
            ++length;
            // Section breaks inside the page: before each later line that wants one.
            if (a + 1 < b && body[a + 1].sectionBefore) ++length;
            const int pageLength = length + 1 + (a == 0 ? 1 : 0);
            if (pageLength > kLongestPage && a + 1 < b) break;
            const Cost opening = a == 0 ? 0 : body[a].breakCost;
            if (best[a] != kInfiniteCost && opening != kInfiniteCost) {
                const Cost c = best[a] + opening + pageCost(pageLength, b == n);
                if (c < best[b]) {
                    best[b] = c;
                    from[b] = a;
                }
            }
            if (body[a].pageBefore) break;
        }
    }
    for (std::size_t b = n; b > 0; b = from[b])
        if (from[b] > 0) pageBefore[from[b]] = true;
    return pageBefore;
}

}  // namespace

LaidOutText layOutDocument(const BookDocument& book) {
    LaidOutText out;
    WordIndexBuilder index;
    int page = 1;
    auto emit = [&](std::string line, std::string_view words) {
        index.addLine(out.stored.size(), page, words);
        out.stored.push_back(std::move(line));
    };
    auto emitPage = [&](bool blank) {
        ++page;
        emit(pageMarker(page) + (blank ? " " : ""), "");
    };

    std::string title = mendText(book.title);
    if (title.empty()) title = "Untitled";
    std::string author = mendText(book.author);
    if (author.empty()) author = "Anonymous";

    // The whole book's word counts, for its colours, one paragraph at a time.
    WordCounts counts;
    // A chapter folded past the last anchor has its heading at least.
    bool anyWords = book.chapters.size() > static_cast<std::size_t>(kMaxAnchors);
    for (const Chapter& chapter : book.chapters) {
        anyWords = anyWords || !mendText(chapter.title).empty();
        for (const Piece& piece : chapterPieces(chapter))
            for (const std::string& text : piece.texts) {
                anyWords = true;
                for (const Token& t : parseParagraph(text).tokens) counts.add(t);
            }
    }

    emit(kHeaderOpening + title + " by " + author + ", laid out in cascading phrases.", "");
    emit(indentCode(0) + std::string(kBoldOpening) + title + std::string(kNormalOpening) + " ", title);
    emit(std::string(kBylineMarker) + author + " 1 ", "");
    if (!anyWords) {
        // The title alone: the byline marker is the last line, and like the
        // last line of every book it ends without a blank.
        out.stored.back().pop_back();
        out.indexLines = index.takeLines();
        return out;
    }

    counts.settleColours();
    const std::size_t chapters = std::min(book.chapters.size(), static_cast<std::size_t>(kMaxAnchors));
    for (std::size_t c = 0; c < chapters; ++c) {
        const ChapterPlan plan = planChapter(book, c);
        out.chapterTitles.push_back(plan.title);
        emit(indentCode(0) + tagText(anchorName(static_cast<int>(c) + 1)) + " ", "");
        std::vector<std::string> headStored, headShown;
        headingLines(plan.heading, headStored, headShown);
        for (std::size_t i = 0; i < headStored.size(); ++i) emit(std::move(headStored[i]), headShown[i]);
        emitPage(true);
        emit(std::string(kParagraphLine), "");
        const Body body = bodyLines(plan, counts);
        const std::vector<bool> pageBefore = placePageMarkers(body.lines);
        for (std::size_t i = 0; i < body.lines.size(); ++i) {
            const BodyLine& line = body.lines[i];
            if (pageBefore[i])
                emitPage(true);
            else if (line.sectionBefore)
                emit(std::string(kSectionBreakLine), "");
            emit(std::string(body.stored(line)), body.shown(line));
        }
    }
    // The word counts are done with: their room goes to the index's lines.
    counts = WordCounts();
    // The book's last line ends without a blank, and so does the page
    // marker that closes it.
    if (out.stored.back().ends_with(' ')) out.stored.back().pop_back();
    emitPage(false);
    out.indexLines = index.takeLines();
    return out;
}

}  // namespace varnet::layout
