#include "WordClasses.h"

namespace varnet::layout {

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

const WordSet& actionVerbs() {
    static const WordSet words = {
        "became",  "become",   "began",   "begin",   "bring",   "brought", "build",   "built",    "buy",
        "bought",  "carried",  "carry",   "catch",   "caught",  "chose",   "climb",   "climbed",  "close",
        "closed",  "came",     "come",    "coming",  "cut",     "died",    "drank",   "drink",    "drive",
        "drove",   "eat",      "eaten",   "eating",  "fall",    "fell",    "fallen",  "feel",     "felt",
        "fight",   "fought",   "find",    "found",   "flew",    "fly",     "follow",  "followed", "gave",
        "give",    "given",    "go",      "going",   "gone",    "grew",    "grow",    "held",     "help",
        "helped",  "hold",     "jump",    "jumped",  "keep",    "kept",    "kill",    "killed",   "leave",
        "lie",     "live",     "lived",   "look",    "looked",  "looking", "lose",    "lost",     "love",
        "loved",   "made",     "make",    "meet",    "met",     "move",    "moved",   "open",     "opened",
        "paid",    "pay",      "play",    "played",  "pull",    "pulled",  "push",    "pushed",   "put",
        "ran",     "reach",    "reached", "read",    "ride",    "rode",    "rise",    "run",      "running",
        "sat",     "saw",      "see",     "seeing",  "seen",    "sell",    "sold",    "send",     "sent",
        "set",     "shook",    "shake",   "sing",    "sang",    "sit",     "sitting", "sleep",    "slept",
        "stand",   "standing", "stood",   "stop",    "stopped", "take",    "taken",   "taking",   "took",
        "threw",   "throw",    "thrown",  "tried",   "try",     "trying",  "turned",  "wait",     "waited",
        "waiting", "walk",     "walked",  "walking", "want",    "wanted",  "watch",   "watched",  "went",
        "win",     "won",      "wore",    "wrote",   "write"};
    return words;
}

bool in(const WordSet& set, std::string_view key) {
    return set.count(key) != 0;
}

}  // namespace

bool isFunctionWord(std::string_view key) {
    return in(functionWords(), key);
}
bool isDeterminer(std::string_view key) {
    return in(determiners(), key);
}
bool isPluralDeterminer(std::string_view key) {
    return in(pluralDeterminers(), key);
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
bool isSpeechVerb(std::string_view key) {
    return in(speechVerbs(), key);
}
bool isActionVerb(std::string_view key) {
    return in(actionVerbs(), key) && !isSpeechVerb(key);
}
bool isAdjective(std::string_view key) {
    return in(adjectives(), key);
}

bool isLowerWord(const Token& t) {
    if (t.wordBegin >= t.wordEnd) return false;
    for (std::size_t i = t.wordBegin; i < t.wordEnd; ++i) {
        const char c = t.text[i];
        if (!((isLetter(c) && !isUpperLetter(c)) || c == '\'' || c == '-')) return false;
    }
    return true;
}

std::vector<std::string> singulars(const std::string& key) {
    std::vector<std::string> out;
    if (key.size() < 3 || key.back() != 's') return out;
    out.push_back(key.substr(0, key.size() - 1));
    if (key.ends_with("es")) out.push_back(key.substr(0, key.size() - 2));
    if (key.ends_with("ies")) out.push_back(key.substr(0, key.size() - 3) + "y");
    if (key.ends_with("ves")) {
        out.push_back(key.substr(0, key.size() - 3) + "f");
        out.push_back(key.substr(0, key.size() - 3) + "fe");
    }
    return out;
}

void WordCounts::add(const Token& t) {
    const auto [at, inserted] = counts_.try_emplace(t.key);
    Counts& c = at->second;
    const std::string& key = at->first;
    if (inserted) {
        const bool function = isFunctionWord(key);
        c.classes =
            (function ? Function : 0u) | (isDeterminer(key) ? Determiner : 0u) |
            (isAdjective(key) ? Adjective : 0u) |
            (function && !isPreposition(key) && !isConjunction(key) && !isPluralDeterminer(key) ? BeforeVerb
                                                                                                : 0u);
    }
    const bool function = (c.classes & Function) != 0;
    // Capitalised and lower-case uses where no sentence begins; "I'll",
    // "I'd" are the pronoun, never a name.
    if (key.size() >= 2 && !function && !t.sentenceStart && !key.starts_with("i'")) {
        if (t.capital)
            ++c.capital;
        else
            ++c.lower;
    }
    // Nouns: how often a colourable lower-case word follows an article, up
    // to two adjectives between, and whether it ever follows a word after
    // which it must be a verb.
    if (!key.empty() && !function && isLowerWord(t)) {
        ++c.total;
        if (!t.opensQuote && seen_ > 0) {
            const Prior& previous = prior_[0];
            if (!previous.hasAfter && (previous.counts->classes & BeforeVerb)) c.usedAsVerb = true;
            std::size_t j = seen_;
            for (int adjective = 0; adjective <= 2 && j > 0; ++adjective) {
                const Prior& before = prior_[seen_ - j];
                if (before.hasAfter) break;
                if (before.counts->classes & Determiner) {
                    ++c.afterArticle;
                    break;
                }
                if (!(before.counts->classes & Adjective)) break;
                --j;
            }
        }
    }
    prior_[2] = prior_[1];
    prior_[1] = prior_[0];
    prior_[0] = {&c, t.hasAfter()};
    ++seen_;
}

std::unordered_set<std::string> WordCounts::names() const {
    std::unordered_set<std::string> names;
    for (const auto& [key, c] : counts_)
        if (c.capital > 0 && c.capital >= c.lower && !isSpeechVerb(key) && !isAdjective(key))
            names.insert(key);
    return names;
}

std::unordered_set<std::string> WordCounts::nouns(const std::unordered_set<std::string>& names) const {
    auto excluded = [&](const std::string& key) {
        return names.count(key) || isSpeechVerb(key) || isAdjective(key) || key.ends_with("ly");
    };
    auto nounLike = [&](const std::string& key) {
        if (excluded(key)) return false;
        const auto seen = counts_.find(key);
        return seen != counts_.end() && seen->second.afterArticle > 0 &&
               3 * seen->second.afterArticle >= seen->second.total;
    };
    std::unordered_set<std::string> nouns;
    for (const auto& [key, c] : counts_) {
        if (c.total == 0 || excluded(key)) continue;
        bool noun = nounLike(key);
        if (!noun && !c.usedAsVerb)
            for (const auto& one : singulars(key)) noun = noun || nounLike(one);
        if (noun) nouns.insert(key);
    }
    return nouns;
}

int WordCounts::colourFor(const std::string& key, const std::unordered_set<std::string>& names,
                          const std::unordered_set<std::string>& nouns) const {
    if (key.size() < 2 || isFunctionWord(key) || key.starts_with("i'")) return 0;
    if (names.count(key)) return kNameColour;
    if (isSpeechVerb(key)) return kVerbColour;
    if (isAdjective(key)) return kAdjectiveColour;
    if (nouns.count(key)) return kNounColour;
    if (isActionVerb(key)) return kVerbColour;
    if (key.size() >= 6 && (key.ends_with("ous") || key.ends_with("ful") || key.ends_with("less")))
        return kAdjectiveColour;
    return 0;
}

void WordCounts::settleColours() {
    const std::unordered_set<std::string> nameKeys = names();
    const std::unordered_set<std::string> nounKeys = nouns(nameKeys);
    for (auto& [key, c] : counts_) c.colour = colourFor(key, nameKeys, nounKeys);
}

int WordCounts::colourOf(const std::string& key) const {
    const auto found = counts_.find(key);
    return found == counts_.end() ? 0 : found->second.colour;
}

std::unordered_map<std::string, int> WordCounts::colours() const {
    std::unordered_map<std::string, int> colours;
    colours.reserve(counts_.size());
    for (const auto& [key, c] : counts_) colours.emplace(key, c.colour);
    return colours;
}

std::unordered_set<std::string> findNouns(const std::vector<const Token*>& tokens,
                                          const std::unordered_set<std::string>& names) {
    WordCounts counts;
    for (const Token* t : tokens) counts.add(*t);
    return counts.nouns(names);
}

std::unordered_map<std::string, int> classifyWords(const std::vector<const Token*>& tokens) {
    WordCounts counts;
    for (const Token* t : tokens) counts.add(*t);
    counts.settleColours();
    return counts.colours();
}

}  // namespace varnet::layout
