#include "WordClasses.h"

#include "BookFigures.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_set>

namespace varnet::laybook {

namespace {

using WordSet = std::unordered_set<std::string_view>;

const WordSet& functionWords() {
    static const WordSet words = {
        "a",         "about",     "above",     "across",    "after",    "afterwards", "again",
        "against",   "ago",       "ah",        "all",       "almost",   "alone",      "along",
        "already",   "also",      "although",  "always",    "am",       "among",      "amongst",
        "an",        "and",       "another",   "any",       "anybody",  "anyone",     "anything",
        "anywhere",  "are",       "aren",      "around",    "as",       "at",         "away",
        "be",        "because",   "been",      "before",    "behind",   "being",      "below",
        "beneath",   "beside",    "besides",   "between",   "beyond",   "both",       "but",
        "by",        "can",       "cannot",    "could",     "couldn",   "did",        "didn",
        "do",        "does",      "doesn",     "doing",     "don",      "don't",      "done",
        "down",      "during",    "each",      "eight",     "either",   "else",       "enough",
        "even",      "ever",      "every",     "everybody", "everyone", "everything", "everywhere",
        "except",    "far",       "few",       "first",     "five",     "for",        "four",
        "from",      "further",   "had",       "hadn",      "half",     "has",        "have",
        "haven",     "having",    "he",        "her",       "here",     "hers",       "herself",
        "him",       "himself",   "his",       "how",       "however",  "hundred",    "i",
        "i'm",       "if",        "in",        "indeed",    "inside",   "instead",    "into",
        "is",        "isn",       "it",        "its",       "itself",   "just",       "last",
        "least",     "less",      "let",       "like",      "many",     "may",        "me",
        "might",     "mine",      "more",      "most",      "much",     "must",       "my",
        "myself",    "near",      "neither",   "never",     "next",     "nine",       "no",
        "nobody",    "none",      "nor",       "not",       "nothing",  "now",        "nowhere",
        "of",        "off",       "often",     "oh",        "on",       "once",       "one",
        "ones",      "only",      "onto",      "or",        "other",    "others",     "otherwise",
        "ought",     "our",       "ours",      "ourselves", "out",      "outside",    "over",
        "own",       "past",      "perhaps",   "please",    "quite",    "rather",     "round",
        "same",      "second",    "seven",     "several",   "shall",    "she",        "should",
        "shouldn",   "since",     "six",       "so",        "some",     "somebody",   "someone",
        "something", "sometimes", "somewhere", "soon",      "still",    "such",       "ten",
        "than",      "that",      "the",       "their",     "theirs",   "them",       "themselves",
        "then",      "there",     "therefore", "these",     "they",     "third",      "this",
        "those",     "though",    "three",     "through",   "thus",     "till",       "to",
        "together",  "too",       "toward",    "towards",   "twice",    "two",        "under",
        "unless",    "until",     "up",        "upon",      "us",       "very",       "was",
        "wasn",      "we",        "we'll",     "well",      "were",     "weren",      "what",
        "whatever",  "when",      "whenever",  "where",     "whereas",  "wherever",   "whether",
        "which",     "while",     "who",       "whoever",   "whom",     "whose",      "why",
        "will",      "with",      "within",    "without",   "won",      "would",      "wouldn",
        "yes",       "yet",       "you",       "your",      "yours",    "yourself",   "yourselves"};
    return words;
}

const WordSet& determiners() {
    static const WordSet words = {"a",     "an",    "another", "any",   "each", "every", "her",
                                  "his",   "its",   "my",      "no",    "our",  "some",  "the",
                                  "their", "these", "this",    "those", "your"};
    return words;
}

// Determiners that may stand before a plural noun.
const WordSet& pluralDeterminers() {
    static const WordSet words = {"any",  "her", "his",   "its",   "my",    "no",  "our",
                                  "some", "the", "their", "these", "those", "your"};
    return words;
}

const WordSet& conjunctions() {
    static const WordSet words = {"and", "but", "or", "nor", "yet", "so"};
    return words;
}

const WordSet& subordinators() {
    static const WordSet words = {"after",   "although", "as",       "because", "before",  "if",
                                  "since",   "than",     "that",     "though",  "till",    "unless",
                                  "until",   "when",     "whenever", "where",   "whereas", "wherever",
                                  "whether", "which",    "while",    "who",     "whom",    "whose"};
    return words;
}

const WordSet& prepositions() {
    static const WordSet words = {"about",   "above",  "across", "against", "along",   "among",   "around",
                                  "at",      "behind", "below",  "beneath", "beside",  "between", "beyond",
                                  "by",      "down",   "during", "for",     "from",    "in",      "inside",
                                  "into",    "like",   "near",   "of",      "off",     "on",      "onto",
                                  "out",     "over",   "past",   "round",   "through", "to",      "toward",
                                  "towards", "under",  "up",     "upon",    "with",    "within",  "without"};
    return words;
}

// |6>: verbs of saying, hearing and thinking, in their forms.
const WordSet& speechVerbs() {
    static const WordSet words = {
        "add",       "added",      "advise",     "advised",    "agree",    "agreed",    "announce",
        "announced", "answer",     "answered",   "answering",  "answers",  "argue",     "argued",
        "ask",       "asked",      "asking",     "asks",       "beg",      "begged",    "begging",
        "believe",   "believed",   "boast",      "boasted",    "boasting", "call",      "called",
        "calling",   "calls",      "complain",   "complained", "cried",    "cries",     "cry",
        "crying",    "decide",     "decided",    "declare",    "declared", "exclaimed", "explain",
        "explained", "forget",     "forgot",     "forgotten",  "greeted",  "groaned",   "grumbled",
        "guess",     "guessed",    "hear",       "heard",      "hearing",  "hears",     "hope",
        "hoped",     "insisted",   "knew",       "know",       "knowing",  "known",     "knows",
        "laugh",     "laughed",    "laughing",   "learn",      "learned",  "learnt",    "listen",
        "listened",  "listening",  "mean",       "meant",      "murmured", "mutter",    "muttered",
        "piped",     "pleaded",    "praise",     "praised",    "promise",  "promised",  "protested",
        "remarked",  "remember",   "remembered", "replied",    "replies",  "reply",     "roared",
        "said",      "say",        "saying",     "says",       "shout",    "shouted",   "shouting",
        "shouts",    "sighed",     "speak",      "speaking",   "speaks",   "spoke",     "spoken",
        "suppose",   "supposed",   "talk",       "talked",     "talking",  "tell",      "telling",
        "tells",     "thank",      "thanked",    "think",      "thinking", "thinks",    "thought",
        "told",      "understand", "understood", "warn",       "warned",   "whisper",   "whispered",
        "wish",      "wished",     "wonder",     "wondered",   "wondering"};
    return words;
}

// |8>: adjectives, comparatives and superlatives among them.
const WordSet& adjectives() {
    static const WordSet words = {"afraid",        "alive",        "angry",
                                  "anxious",       "apt",          "ashamed",
                                  "asleep",        "awake",        "bad",
                                  "bad-tempered",  "bare",         "beautiful",
                                  "best",          "better",       "big",
                                  "bigger",        "biggest",      "bitter",
                                  "black",         "blind",        "blue",
                                  "blue-flowered", "bold",         "brave",
                                  "bright",        "broad",        "broad-shouldered",
                                  "broken",        "brown",        "busy",
                                  "careful",       "careless",     "certain",
                                  "cheap",         "cheerful",     "clean",
                                  "clear",         "clever",       "closer",
                                  "cold",          "comfortable",  "common",
                                  "cool",          "costly",       "cruel",
                                  "dark",          "dead",         "deaf",
                                  "dear",          "deep",         "dirty",
                                  "dreadful",      "dry",          "dull",
                                  "dusty",         "eager",        "easy",
                                  "eldest",        "empty",        "enormous",
                                  "envious",       "famous",       "fat",
                                  "fierce",        "fine",         "fine-looking",
                                  "finer",         "finest",       "flat",
                                  "fond",          "foolish",      "fork-tailed",
                                  "fortunate",     "free",         "fresh",
                                  "full",          "generous",     "gentle",
                                  "glad",          "golden",       "good",
                                  "good-hearted",  "good-natured", "grateful",
                                  "great",         "greater",      "greatest",
                                  "greedy",        "green",        "grey",
                                  "half-finished", "half-singed",  "handsome",
                                  "happy",         "hard",         "harder",
                                  "heavier",       "heavy",        "helpless",
                                  "high",          "higher",       "hollow",
                                  "honest",        "horrible",     "hot",
                                  "huge",          "humble",       "hungry",
                                  "idle",          "ill",          "ill-used",
                                  "jealous",       "knee-deep",    "lame",
                                  "large",         "larger",       "largest",
                                  "lazy",          "lean",         "little",
                                  "lonely",        "long",         "longer",
                                  "long-legged",   "loose",        "loud",
                                  "louder",        "lovely",       "low",
                                  "lower",         "lucky",        "many-pointed",
                                  "marvellous",    "merry",        "mighty",
                                  "miserable",     "modest",       "muddy",
                                  "narrow",        "neat",         "new",
                                  "nice",          "nimble",       "noble",
                                  "old",           "older",        "oldest",
                                  "pale",          "patient",      "plain",
                                  "pleasant",      "plump",        "polite",
                                  "poor",          "precious",     "pretty",
                                  "proud",         "quick",        "quiet",
                                  "ragged",        "rare",         "ready",
                                  "real",          "red",          "rich",
                                  "ripe",          "rotten",       "rough",
                                  "rude",          "sad",          "safe",
                                  "salty",         "sandy",        "savage",
                                  "shady",         "sharp",        "sharper",
                                  "shining",       "short",        "shy",
                                  "sick",          "silent",       "silly",
                                  "silver",        "simple",       "single",
                                  "sleek",         "sleepy",       "slender",
                                  "slow",          "sly",          "small",
                                  "smaller",       "smallest",     "smooth",
                                  "soft",          "soft-hearted", "solemn",
                                  "sore",          "sorry",        "sour",
                                  "splendid",      "square",       "stale",
                                  "steady",        "steep",        "stony",
                                  "stout",         "strange",      "strong",
                                  "stronger",      "strongest",    "stupid",
                                  "sudden",        "sunny",        "sure",
                                  "surest",        "sweet",        "swift",
                                  "tall",          "taller",       "tender",
                                  "terrible",      "thick",        "thin",
                                  "thirsty",       "thoughtful",   "tidy",
                                  "timid",         "tiny",         "tired",
                                  "true",          "ugly",         "unhappy",
                                  "unkind",        "unlucky",      "useful",
                                  "useless",       "vain",         "valuable",
                                  "warm",          "weak",         "weary",
                                  "wet",           "white",        "whole",
                                  "wicked",        "wide",         "wild",
                                  "willing",       "wise",         "wiser",
                                  "wisest",        "wonderful",    "wooden",
                                  "woollen",       "worse",        "worst",
                                  "worthless",     "wretched",     "yellow",
                                  "yellow-eyed",   "young",        "younger",
                                  "youngest"};
    return words;
}

bool in(const WordSet& set, std::string_view key) {
    return set.count(key) != 0;
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool lowerWord(const Token& t) {
    const std::string w = t.word();
    if (w.empty()) return false;
    for (char c : w)
        if (!((c >= 'a' && c <= 'z') || c == '\'' || c == '-')) return false;
    return true;
}

// The words a plural may come from: "foxes" from "fox", "wolves" from "wolf".
std::vector<std::string> singulars(const std::string& key) {
    std::vector<std::string> out;
    if (key.size() < 3 || key.back() != 's') return out;
    out.push_back(key.substr(0, key.size() - 1));
    if (endsWith(key, "es")) out.push_back(key.substr(0, key.size() - 2));
    if (endsWith(key, "ies")) out.push_back(key.substr(0, key.size() - 3) + "y");
    if (endsWith(key, "ves")) {
        out.push_back(key.substr(0, key.size() - 3) + "f");
        out.push_back(key.substr(0, key.size() - 3) + "fe");
    }
    return out;
}

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

bool isFunctionWord(std::string_view key) {
    return in(functionWords(), key);
}
bool isDeterminer(std::string_view key) {
    return in(determiners(), key);
}
bool isConjunction(std::string_view key) {
    return in(conjunctions(), key);
}
bool isSubordinator(std::string_view key) {
    return in(subordinators(), key);
}
bool isPreposition(std::string_view key) {
    return in(prepositions(), key);
}

std::vector<ColourReport> colourWords(const std::vector<Token*>& tokens) {
    for (Token* t : tokens) t->colour = 0;
    auto colourable = [](const Token& t) { return !t.key.empty() && !isFunctionWord(t.key); };

    // Names: words written with a capital where no sentence begins.
    std::unordered_set<std::string> nameKeys;
    for (const Token* t : tokens)
        if (colourable(*t) && t->capital && !t->sentenceStart && t->key != "i" &&
            !in(speechVerbs(), t->key) && !in(adjectives(), t->key))
            nameKeys.insert(t->key);

    // Nouns: words seen right after an article or a possessive, or after one
    // and up to two adjectives, in at least a third of their occurrences; and
    // the plurals of such words, unless a plural is ever used as a verb (right
    // after a pronoun or a word such as "none": "none turns up").
    std::map<std::string, int> total;
    std::map<std::string, int> afterArticle;
    std::unordered_set<std::string> usedAsVerb;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = *tokens[i];
        if (!colourable(t) || !lowerWord(t)) continue;
        ++total[t.key];
        if (t.opensQuote || i == 0) continue;
        const Token& previous = *tokens[i - 1];
        if (previous.after().empty() && isFunctionWord(previous.key) && !isPreposition(previous.key) &&
            !isConjunction(previous.key) && !in(pluralDeterminers(), previous.key))
            usedAsVerb.insert(t.key);
        std::size_t j = i;
        for (int adjective = 0; adjective <= 2 && j > 0; ++adjective) {
            const Token& before = *tokens[j - 1];
            if (!before.after().empty()) break;
            if (isDeterminer(before.key) && before.wordEnd == before.text.size()) {
                ++afterArticle[t.key];
                break;
            }
            if (!in(adjectives(), before.key)) break;
            --j;
        }
    }
    auto excluded = [&](const std::string& key) {
        return nameKeys.count(key) || in(speechVerbs(), key) || in(adjectives(), key) || endsWith(key, "ly");
    };
    auto nounLike = [&](const std::string& key) {
        const auto seen = afterArticle.find(key);
        return !excluded(key) && seen != afterArticle.end() && 3 * seen->second >= total[key];
    };
    std::unordered_set<std::string> nounKeys;
    for (const auto& [key, n] : total) {
        (void)n;
        if (excluded(key)) continue;
        bool noun = nounLike(key);
        if (!noun && !usedAsVerb.count(key))
            for (const auto& one : singulars(key)) noun = noun || nounLike(one);
        if (noun) nounKeys.insert(key);
    }

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
            } else if (lowerWord(*t)) {
                auto& c = names[t->key + "/2"];
                c.tier = 2;
                ++lowerNames[t->key];
                c.word = t->key;
                c.occurrences.push_back(t);
            }
            continue;
        }
        if (!lowerWord(*t) && !t->sentenceStart) continue;
        std::map<std::string, Candidate>* cls = nullptr;
        if (in(speechVerbs(), t->key))
            cls = &speech;
        else if (in(adjectives(), t->key))
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
