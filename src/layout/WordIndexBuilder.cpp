#include "WordIndexBuilder.h"

#include "Tokens.h"
#include "WordClasses.h"

namespace varnet::layout {

namespace {

// A reference packs the page above the stored line: lines up to
// kMaxIndexedLine + 1 fit in kLineBits bits, pages up to kMaxIndexedPage in
// the bits above.
constexpr unsigned kLineBits = 17;
static_assert(kMaxIndexedLine + 1 < (1 << kLineBits));
static_assert(kMaxIndexedPage < (1 << (32 - kLineBits)));

void appendDigits(std::string& out, unsigned n, int width) {
    char digits[16];
    for (int k = width; k-- > 0; n /= 10) digits[k] = static_cast<char>('0' + n % 10);
    out.append(digits, static_cast<std::size_t>(width));
}

}  // namespace

void WordIndexBuilder::addLine(std::size_t line, int page, std::string_view text) {
    if (line == 0 || full_) return;
    if (static_cast<long long>(line) - 1 > kMaxIndexedLine || page > kMaxIndexedPage) {
        full_ = true;
        return;
    }
    const std::uint32_t ref =
        static_cast<std::uint32_t>(page) << kLineBits | static_cast<std::uint32_t>(line);
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
        key_.assign(word);
        for (char& c : key_) c = lowerLetter(c);
        if (isFunctionWord(key_)) continue;
        Entry& entry = entries_.try_emplace(key_).first->second;
        if (word == key_) entry.lowerSeen = true;
        if (entry.shown.empty()) entry.shown = word;
        if (entry.refs.empty() || entry.refs.back() != ref) entry.refs.push_back(ref);
    }
}

std::vector<std::string> WordIndexBuilder::takeLines() {
    constexpr std::uint32_t kLineMask = (1u << kLineBits) - 1;
    std::vector<std::string> out;
    out.reserve(entries_.size());
    // Each entry goes as soon as its line is written, so the lines take the
    // room the references leave.
    for (auto at = entries_.begin(); at != entries_.end(); at = entries_.erase(at)) {
        const Entry& entry = at->second;
        const std::string& word = entry.lowerSeen ? at->first : entry.shown;
        std::string line;
        line.reserve(word.size() + entry.refs.size() * 10);
        line += word;
        for (const std::uint32_t ref : entry.refs) {
            line += '|';
            appendDigits(line, ref >> kLineBits, 4);
            appendDigits(line, (ref & kLineMask) - 1, 5);
        }
        out.push_back(std::move(line));
    }
    full_ = false;
    return out;
}

std::vector<std::string> buildWordIndex(const std::vector<std::string>& shown,
                                        const std::vector<int>& pages) {
    WordIndexBuilder builder;
    for (std::size_t i = 1; i < shown.size() && i < pages.size(); ++i) builder.addLine(i, pages[i], shown[i]);
    return builder.takeLines();
}

}  // namespace varnet::layout
