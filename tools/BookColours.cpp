#include "BookColours.h"

#include "BookFigures.h"
#include "WordClasses.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_set>

namespace varnet::laybook {

using namespace varnet::layout;

namespace {

// A set of occurrences that is coloured as a whole: one word of a class.
struct Candidate {
    int tier = 0;        // earlier tiers are taken first
    long long rank = 0;  // within a tier, higher first
    std::string word;
    std::vector<Token*> occurrences;
};

// Takes whole words, tier by tier, the highest ranked and then the most
// frequent first (ties alphabetical), skipping
// a word that would overshoot the count; when words alone cannot meet the
// count, the first word that was skipped is coloured at its first
// occurrences only.
ColourReport choose(int colour, const std::string& name, int count, std::vector<Candidate> candidates) {
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.tier != b.tier) return a.tier < b.tier;
        if (a.rank != b.rank) return a.rank > b.rank;
        if (a.occurrences.size() != b.occurrences.size()) return a.occurrences.size() > b.occurrences.size();
        return a.word < b.word;
    });
    ColourReport report;
    report.colour = colour;
    report.name = name;
    for (const auto& c : candidates) report.candidates += static_cast<int>(c.occurrences.size());
    if (report.candidates < count)
        throw std::runtime_error("too few " + name + " to colour: " + std::to_string(report.candidates) +
                                 " occurrences for " + std::to_string(count) + " tags");
    int left = count;
    std::vector<bool> taken(candidates.size(), false);
    for (std::size_t i = 0; i < candidates.size() && left > 0; ++i) {
        const int n = static_cast<int>(candidates[i].occurrences.size());
        if (n > left) continue;
        for (Token* t : candidates[i].occurrences) t->colour = colour;
        taken[i] = true;
        left -= n;
        ++report.words;
    }
    for (std::size_t i = 0; i < candidates.size() && left > 0; ++i) {
        if (taken[i]) continue;
        for (int k = 0; k < left; ++k)
            candidates[i].occurrences[static_cast<std::size_t>(k)]->colour = colour;
        report.partlyColoured = candidates[i].word;
        ++report.words;
        left = 0;
    }
    report.tagged = count - left;
    return report;
}

}  // namespace

std::vector<ColourReport> colourWords(const std::vector<Token*>& tokens) {
    for (Token* t : tokens) t->colour = 0;
    auto colourable = [](const Token& t) { return !t.key.empty() && !isFunctionWord(t.key); };

    // Names: words written with a capital where no sentence begins.
    std::unordered_set<std::string> nameKeys;
    for (const Token* t : tokens)
        if (colourable(*t) && t->capital && !t->sentenceStart && t->key != "i" && !isSpeechVerb(t->key) &&
            !isAdjective(t->key))
            nameKeys.insert(t->key);

    // Nouns: see layout::findNouns.
    const std::unordered_set<std::string> nounKeys =
        findNouns(std::vector<const Token*>(tokens.begin(), tokens.end()), nameKeys);

    // Occurrences per class and word.
    std::map<std::string, Candidate> names, speech, qualities, things;
    std::map<std::string, int> lowerNames;
    for (Token* t : tokens) {
        if (!colourable(*t)) continue;
        if (nameKeys.count(t->key)) {
            // Capitalised occurrences first; the same word in lower case
            // ("a fox") only when it belongs to no other class.
            if (t->capital) {
                auto& c = names[t->key + "/1"];
                c.tier = 1;
                c.word = t->key;
                c.occurrences.push_back(t);
            } else if (isLowerWord(*t)) {
                auto& c = names[t->key + "/2"];
                c.tier = 2;
                ++lowerNames[t->key];
                c.word = t->key;
                c.occurrences.push_back(t);
            }
            continue;
        }
        if (!isLowerWord(*t) && !t->sentenceStart) continue;
        std::map<std::string, Candidate>* cls = nullptr;
        if (isSpeechVerb(t->key))
            cls = &speech;
        else if (isAdjective(t->key))
            cls = &qualities;
        else if (nounKeys.count(t->key))
            cls = &things;
        if (!cls) continue;
        auto& c = (*cls)[t->key];
        c.word = t->key;
        c.occurrences.push_back(t);
    }
    // A name in lower case ("the fox") ranks by how much of a name it is: the
    // share of its occurrences written with a capital.
    for (auto& [id, c] : names) {
        if (c.tier != 2) continue;
        const auto capital = names.find(c.word + "/1");
        const long long capitals =
            capital == names.end() ? 0 : static_cast<long long>(capital->second.occurrences.size());
        c.rank = capitals * 1000000 / (capitals + lowerNames[c.word]);
        (void)id;
    }
    auto values = [](std::map<std::string, Candidate>& m) {
        std::vector<Candidate> v;
        for (auto& [k, c] : m) {
            (void)k;
            v.push_back(std::move(c));
        }
        return v;
    };
    std::vector<ColourReport> reports;
    reports.push_back(choose(7, "names", kColour7, values(names)));
    reports.push_back(choose(6, "verbs of saying and thinking", kColour6, values(speech)));
    reports.push_back(choose(8, "adjectives", kColour8, values(qualities)));
    reports.push_back(choose(9, "nouns", kColour9, values(things)));
    return reports;
}

}  // namespace varnet::laybook
