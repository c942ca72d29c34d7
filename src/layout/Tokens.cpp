#include "Tokens.h"

namespace varnet::layout {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

Token makeToken(std::string_view text) {
    Token t;
    t.text = std::string(text);
    std::size_t b = 0;
    while (b < text.size() && !isLetterOrDigit(text[b])) ++b;
    std::size_t e = text.size();
    while (e > b && !isLetterOrDigit(text[e - 1])) --e;
    t.wordBegin = b;
    t.wordEnd = e;
    std::string key = lowerText(text.substr(b, e - b));
    if (key.size() > 2 && key.compare(key.size() - 2, 2, "'s") == 0) key.resize(key.size() - 2);
    t.key = std::move(key);
    t.capital = b < e && isUpperLetter(text[b]);
    const std::string_view before = text.substr(0, b);
    const std::string_view after = text.substr(e);
    t.opensQuote = before.find('"') != std::string_view::npos;
    t.closesQuote = after.find('"') != std::string_view::npos;
    t.comma = after.find(',') != std::string_view::npos;
    t.clauseEnd = after.find_first_of(";:") != std::string_view::npos;
    return t;
}

}  // namespace

bool isUpperLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7);
}

bool isLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u != 0xD7 && u != 0xF7);
}

bool isLetterOrDigit(char c) {
    return isLetter(c) || (c >= '0' && c <= '9');
}

char lowerLetter(char c) {
    return isUpperLetter(c) ? static_cast<char>(static_cast<unsigned char>(c) + 0x20) : c;
}

std::string lowerText(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerLetter(c);
    return out;
}

std::size_t Paragraph::characters() const {
    return tokens.empty() ? 0 : static_cast<std::size_t>(rangeLength(*this, 0, tokens.size()));
}

int rangeLength(const Paragraph& p, std::size_t begin, std::size_t end) {
    int n = -1;
    for (std::size_t i = begin; i < end; ++i) n += static_cast<int>(p.tokens[i].text.size()) + 1;
    return n;
}

Paragraph parseParagraph(std::string_view text) {
    Paragraph p;
    for (std::size_t i = 0; i < text.size();) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        std::size_t e = i;
        while (e < text.size() && !isBlank(text[e])) ++e;
        p.tokens.push_back(makeToken(text.substr(i, e - i)));
        i = e;
    }
    for (std::size_t i = 0; i < p.tokens.size(); ++i) {
        Token& t = p.tokens[i];
        const bool last = i + 1 == p.tokens.size();
        if (t.text.find_first_of(".!?", t.wordEnd) != std::string::npos) {
            // A full stop, "!" or "?" ends the sentence when what follows
            // opens with a capital or a quotation; "\"Peace?\" he said" goes on.
            const bool nextOpens = last || p.tokens[i + 1].opensQuote || p.tokens[i + 1].capital;
            if (nextOpens)
                t.sentenceEnd = true;
            else
                t.clauseEnd = true;
        }
        if (last) t.sentenceEnd = true;
        t.sentenceStart = i == 0 || p.tokens[i - 1].sentenceEnd || t.opensQuote;
        if (t.sentenceEnd) p.sentenceEnds.push_back(i + 1);
    }
    return p;
}

}  // namespace varnet::layout
