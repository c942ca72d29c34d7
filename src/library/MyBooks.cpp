#include "MyBooks.h"

#include "BookFiles.h"
#include "LineList.h"
#include "Tokens.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace varnet {

namespace {

namespace fs = std::filesystem;

// Keys the built-in texts and their bookmark sections already use.
constexpr const char* kReservedKeys[] = {"fable", "none", "title", "author", "kyr"};
constexpr std::size_t kLongestKeyStem = 40;

std::string keyStem(const std::string& title) {
    std::string stem;
    for (const char ch : title) {
        const char c = ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
        const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (keep)
            stem += c;
        else if (!stem.empty() && stem.back() != '-')
            stem += '-';
        if (stem.size() >= kLongestKeyStem) break;
    }
    while (!stem.empty() && stem.back() == '-') stem.pop_back();
    return stem.empty() ? std::string("book") : stem;
}

// The same file however it is named: a relative name, "..", a link.
std::string canonical(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? path : p.string();
}

void sortByTitle(std::vector<MyBook>& books) {
    // By title without regard to case (the reader's letters, accented ones
    // too), then by key.
    const auto before = [](char x, char y) {
        return static_cast<unsigned char>(layout::lowerLetter(x)) <
               static_cast<unsigned char>(layout::lowerLetter(y));
    };
    std::sort(books.begin(), books.end(), [&](const MyBook& a, const MyBook& b) {
        if (std::lexicographical_compare(a.title.begin(), a.title.end(), b.title.begin(), b.title.end(),
                                         before))
            return true;
        if (std::lexicographical_compare(b.title.begin(), b.title.end(), a.title.begin(), a.title.end(),
                                         before))
            return false;
        return a.key < b.key;
    });
}

void removeQuietly(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

std::vector<std::string> cardLines(const MyBook& book) {
    std::vector<std::string> lines{kCardSignature, "title=" + oneLine(book.title),
                                   "author=" + oneLine(book.author), "source=" + oneLine(book.source)};
    for (const auto& chapter : book.chapters) lines.push_back("chapter=" + oneLine(chapter));
    return lines;
}

std::optional<MyBook> parseCard(const std::string& key, std::string_view bytes) {
    const LineList lines = LineList::fromBytes(bytes);
    if (lines.empty() || lines[0] != kCardSignature) return std::nullopt;
    MyBook book;
    book.key = key;
    bool titled = false;
    for (std::int32_t i = 1; i < lines.count(); ++i) {
        const std::string line(lines[i]);
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            if (line.empty()) continue;
            return std::nullopt;
        }
        const std::string name = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        if (name == "title") {
            book.title = std::move(value);
            titled = true;
        } else if (name == "author") {
            book.author = std::move(value);
        } else if (name == "source") {
            book.source = std::move(value);
        } else if (name == "chapter") {
            book.chapters.push_back(std::move(value));
        }
        // Fields a later version adds are passed over.
    }
    if (!titled || book.title.empty()) return std::nullopt;
    return book;
}

MyBookFiles MyBooks::filesOf(const std::string& key) const {
    return {folder_ + key + kCardExtension, folder_ + key + kTextExtension, folder_ + key + kIndexExtension};
}

const MyBook* MyBooks::find(const std::string& key) const {
    const auto it = std::find_if(books_.begin(), books_.end(), [&](const MyBook& b) { return b.key == key; });
    return it == books_.end() ? nullptr : &*it;
}

const MyBook* MyBooks::findBySource(const std::string& path) const {
    const std::string wanted = canonical(path);
    const auto it = std::find_if(books_.begin(), books_.end(), [&](const MyBook& b) {
        return !b.source.empty() && canonical(b.source) == wanted;
    });
    return it == books_.end() ? nullptr : &*it;
}

bool MyBooks::holds(const std::string& textPath) const {
    return !folder_.empty() && textPath.size() > folder_.size() &&
           textPath.compare(0, folder_.size(), folder_) == 0 &&
           textPath.find('/', folder_.size()) == std::string::npos;
}

std::vector<std::string> MyBooks::load() {
    books_.clear();
    std::vector<std::string> skipped;
    std::error_code ec;
    fs::directory_iterator it(folder_, ec);
    if (ec) return skipped;  // no books folder: no books yet
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const fs::path& p = it->path();
        if (p.extension() != kCardExtension) continue;
        const std::string name = p.filename().string();
        const std::string key = name.substr(0, name.size() - std::strlen(kCardExtension));
        // A key with a "." would name another key's files when opened.
        if (key.empty() || key.find('.') != std::string::npos) continue;
        std::string bytes;
        std::optional<MyBook> book;
        if (readWholeFile(p.string(), bytes)) book = parseCard(key, bytes);
        if (!book || !fileExists(filesOf(key).text)) {
            skipped.push_back(p.string());
            continue;
        }
        books_.push_back(std::move(*book));
    }
    sortByTitle(books_);
    std::sort(skipped.begin(), skipped.end());
    return skipped;
}

std::string MyBooks::freshKey(const std::string& title, const std::vector<std::string>& takenKeys) const {
    const std::string stem = keyStem(title);
    auto taken = [&](const std::string& key) {
        if (std::find(std::begin(kReservedKeys), std::end(kReservedKeys), key) != std::end(kReservedKeys))
            return true;
        if (std::find(takenKeys.begin(), takenKeys.end(), key) != takenKeys.end()) return true;
        if (find(key)) return true;
        const MyBookFiles f = filesOf(key);
        std::error_code ec;
        return fs::exists(f.card, ec) || fs::exists(f.text, ec) || fs::exists(f.index, ec);
    };
    if (!taken(stem)) return stem;
    for (int n = 2;; ++n) {
        const std::string key = stem + "-" + std::to_string(n);
        if (!taken(key)) return key;
    }
}

MyBooks::Stored MyBooks::store(const layout::LaidOutText& text, const std::string& title,
                               const std::string& author, const std::string& source,
                               const std::vector<std::string>& taken) {
    Stored result;
    std::error_code ec;
    fs::create_directories(folder_, ec);
    if (ec) {
        result.error = "Cannot create folder " + folder_ + ": " + ec.message();
        return result;
    }
    MyBook book;
    book.key = freshKey(title, taken);
    book.title = title;
    book.author = author;
    book.source = canonical(source);
    book.chapters = text.chapterTitles;
    const MyBookFiles files = filesOf(book.key);

    std::vector<std::string> written;
    auto write = [&](const std::string& path, const std::vector<std::string>& lines) {
        if (const FileResult r = AtomicFile::writeLines(path, lines); !r) {
            for (const auto& w : written) removeQuietly(w);
            result.error = "Cannot create file " + path + ": " + r.error;
            return false;
        }
        written.push_back(path);
        return true;
    };
    if (!write(files.text, text.stored) || !write(files.index, text.indexLines) ||
        !write(files.card, cardLines(book)))
        return result;

    books_.push_back(book);
    sortByTitle(books_);
    result.book = std::move(book);
    return result;
}

FileResult MyBooks::remove(const std::string& key) {
    const MyBookFiles files = filesOf(key);
    for (const std::string& path : {files.card, files.text, files.index}) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            const std::string reason = std::strerror(errno);
            // Once the card is gone the book is no longer listed.
            if (path == files.card) return FileResult::failure(reason);
        }
    }
    std::erase_if(books_, [&](const MyBook& b) { return b.key == key; });
    return {};
}

}  // namespace varnet
