#include "WordIndexBuilder.h"

#include "Tokens.h"
#include "WordClasses.h"

#include <map>
#include <string_view>

namespace varnet::layout {

namespace {

void appendDigits(std::string& out, int n, int width) {
    const std::string s = std::to_string(n);
    out.append(static_cast<std::size_t>(width) - s.size(), '0');
    out += s;
}

struct Entry {
    std::string shown;  // the first capitalised form, until a lower-case one is met
    bool lowerSeen = false;
    std::vector<int> lines;  // stored line indices, each once
};

}  // namespace

std::vector<std::string> buildWordIndex(const std::vector<std::string>& shown,
                                        const std::vector<int>& pages) {
    std::map<std::string, Entry> entries;  // by the word in lower case
    std::string key;
    for (std::size_t i = 1; i < shown.size() && i < pages.size(); ++i) {
        if (static_cast<int>(i) - 1 > kMaxIndexedLine || pages[i] > kMaxIndexedPage) break;
        const std::string& text = shown[i];
        for (std::size_t b = 0; b < text.size();) {
            if (!isLetter(text[b])) {
                ++b;
                continue;
            }
            std::size_t e = b;
            while (e < text.size() && isLetter(text[e])) ++e;
            const std::string_view word(text.data() + b, e - b);
            b = e;
            if (word.size() < 4) continue;
            key = lowerText(word);
            if (isFunctionWord(key)) continue;
            Entry& entry = entries[key];
            if (word == key) entry.lowerSeen = true;
            if (entry.shown.empty()) entry.shown = word;
            if (entry.lines.empty() || entry.lines.back() != static_cast<int>(i))
                entry.lines.push_back(static_cast<int>(i));
        }
    }
    std::vector<std::string> out;
    out.reserve(entries.size());
    for (const auto& [k, entry] : entries) {
        std::string line = entry.lowerSeen ? k : entry.shown;
        for (int stored : entry.lines) {
            line += '|';
            appendDigits(line, pages[static_cast<std::size_t>(stored)], 4);
            appendDigits(line, stored - 1, 5);
        }
        out.push_back(std::move(line));
    }
    return out;
}

}  // namespace varnet::layout
