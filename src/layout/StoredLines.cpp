#include "StoredLines.h"

#include "LineFormat.h"

namespace varnet::layout {

std::string colourTag(int colour) {
    return tagText(std::to_string(colour));
}

std::string phraseText(const Paragraph& p, std::size_t begin, std::size_t end, bool tagged) {
    std::string s;
    appendPhraseText(s, p, begin, end, tagged);
    return s;
}

void appendPhraseText(std::string& s, const Paragraph& p, std::size_t begin, std::size_t end, bool tagged) {
    for (std::size_t i = begin; i < end; ++i) {
        const Token& t = p.tokens[i];
        if (i > begin) s += ' ';
        if (tagged && t.colour != 0) {
            s.append(t.text, 0, t.wordBegin);
            if (t.colour > 0 && t.colour < 10) {
                s += kTagBar;
                s += static_cast<char>('0' + t.colour);
                s += kTagClose;
            } else {
                s += colourTag(t.colour);
            }
            s.append(t.text, t.wordBegin, t.wordEnd - t.wordBegin);
            s += kBodyColourOpening;
            s.append(t.text, t.wordEnd);
        } else {
            s += t.text;
        }
    }
}

std::vector<std::string_view> breakReservedLetters(std::string& text) {
    std::vector<std::string_view> broken;
    for (const std::string_view reserved : {kAnchorLetters, kSectionBreak}) {
        for (auto at = text.find(reserved); at != std::string::npos; at = text.find(reserved, at + 2)) {
            text.insert(at + 1, "-");
            broken.push_back(reserved);
        }
    }
    return broken;
}

std::string mendText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        char shown = c;
        if (c == kTagBar)
            shown = '/';
        else if (u < 32 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == 0xA0)
            shown = ' ';
        if (shown == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += shown;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    breakReservedLetters(out);
    return out;
}

}  // namespace varnet::layout
