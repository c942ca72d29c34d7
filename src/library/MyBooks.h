// The reader's own books: each imported book is kept in the data folder's
// books/ folder as three files under one key: the laid-out text (.qtx), its
// word index (.qdx) and its card (.book: title, author, where it came from,
// its chapters). The card is written last, so a book without one was never
// stored whole and is not listed.
#pragma once

#include "AtomicFile.h"
#include "DocumentLayout.h"

#include <optional>
#include <string>
#include <vector>

namespace varnet {

inline constexpr const char* kMyBooksCaption = "My Books";
inline constexpr const char* kBooksFolderName = "books";
inline constexpr const char* kCardExtension = ".book";
// What the reader is told (an error box adds the full stop).
inline constexpr const char* kSkippedDamagedBooks = "These books in My Books are damaged and were skipped: ";
inline constexpr const char* kSelectBookToRemove = "Select a book under My Books to remove it.";
inline constexpr const char* kRemoveBookTitle = "Remove From My Books";
inline constexpr const char* kRemoveBookQuestionStart = "Remove \"";
inline constexpr const char* kRemoveBookQuestionEnd = "\" from My Books? Its bookmarks are kept.";
inline constexpr const char* kCannotRemoveBook = "Cannot remove ";
// The card's first line; a card without it is not one of ours.
inline constexpr const char* kCardSignature = "Varnet book 1";

struct MyBook {
    std::string key;  // the files' name; also the book's bookmark section
    std::string title;
    std::string author;  // empty when the source names none
    std::string source;  // the file it was imported from, as given then
    std::vector<std::string> chapters;
};

// Where the card, text and index of a book are.
struct MyBookFiles {
    std::string card, text, index;
};

class MyBooks {
public:
    // folder: the books folder, with its trailing "/".
    explicit MyBooks(std::string folder) : folder_(std::move(folder)) {}

    const std::string& folder() const { return folder_; }
    const std::vector<MyBook>& books() const { return books_; }
    MyBookFiles filesOf(const std::string& key) const;
    // The book whose files are named by this key, if it is listed.
    const MyBook* find(const std::string& key) const;
    // The listed book imported from this file (the same file, however named).
    const MyBook* findBySource(const std::string& path) const;
    // True for a text file that lies in the books folder.
    bool holds(const std::string& textPath) const;

    // Reads every card in the folder, listing the books by title. A card
    // that cannot be read or makes no sense, or whose text is missing, is
    // skipped; the paths of the skipped cards are returned.
    std::vector<std::string> load();

    // Stores a laid-out book under a key made from its title, text and index
    // first and the card last, each written whole or not at all; on any
    // failure whatever was written is removed again. Returns the new book,
    // or the failure.
    struct Stored {
        std::optional<MyBook> book;
        std::string error;  // "Cannot create file " + path + ": " + reason
    };
    // Keys in `taken` (bookmark sections of books removed before) are not
    // given again.
    Stored store(const layout::LaidOutText& text, const std::string& title, const std::string& author,
                 const std::string& source, const std::vector<std::string>& taken = {});

    // Removes a book's files (the card first, so a half-removed book is
    // never listed) and its listing.
    FileResult remove(const std::string& key);

private:
    std::string freshKey(const std::string& title, const std::vector<std::string>& taken) const;

    std::string folder_;
    std::vector<MyBook> books_;
};

// A field kept on a line of its own (on a card, in the import helper's
// answer): a line end inside it becomes a blank.
std::string oneLine(std::string text);

// The card's lines, and a card read back (nothing when it makes no sense).
std::vector<std::string> cardLines(const MyBook& book);
std::optional<MyBook> parseCard(const std::string& key, std::string_view bytes);

}  // namespace varnet
