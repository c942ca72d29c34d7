#include "BookIndex.h"

#include "WordClasses.h"

#include <map>
#include <stdexcept>

namespace varnet::laybook {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string digits(int n, int width) {
    std::string s = std::to_string(n);
    if (static_cast<int>(s.size()) > width) throw std::runtime_error("index reference out of range: " + s);
    return std::string(static_cast<std::size_t>(width) - s.size(), '0') + s;
}

struct Entry {
    std::string shown;  // the first capitalised form, until a lower-case one is met
    bool lowerSeen = false;
    std::vector<int> lines;  // stored line indices, each once
};

}  // namespace

std::vector<std::string> buildWordIndex(const LaidOutBook& book) {
    std::map<std::string, Entry> entries;  // by the word in lower case
    for (std::size_t i = 1; i < book.words.size(); ++i) {
        const std::string& text = book.words[i];
        for (std::size_t b = 0; b < text.size();) {
            if (!isLetter(text[b])) {
                ++b;
                continue;
            }
            std::size_t e = b;
            while (e < text.size() && isLetter(text[e])) ++e;
            const std::string word = text.substr(b, e - b);
            b = e;
            if (word.size() < 4) continue;
            std::string key = word;
            for (char& c : key)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (isFunctionWord(key)) continue;
            Entry& entry = entries[key];
            if (word == key) entry.lowerSeen = true;
            if (entry.shown.empty()) entry.shown = word;
            if (entry.lines.empty() || entry.lines.back() != static_cast<int>(i))
                entry.lines.push_back(static_cast<int>(i));
        }
    }
    std::vector<std::string> out;
    for (const auto& [key, entry] : entries) {
        std::string line = entry.lowerSeen ? key : entry.shown;
        for (int stored : entry.lines)
            line += "|" + digits(book.page[static_cast<std::size_t>(stored)], 4) + digits(stored - 1, 5);
        out.push_back(line);
    }
    return out;
}

}  // namespace varnet::laybook
