// Making a text the one being read: loading the built-in text for its key
// when the name changes, bringing it into normalised form, and choosing the
// line the first panel starts on (after a named anchor, or at the newest
// bookmark when the reader accepts the offer to resume there).
#pragma once

#include "OpenedText.h"
#include "ReaderState.h"

#include <cstdint>
#include <optional>
#include <string>

namespace varnet {

inline constexpr const char* kResumeQuestion = "Do you want to start reading where you last closed the file?";

// The key of a text: its file name without folder, cut before the first ".";
// a name without "." gives the empty key.
std::string bookKeyFrom(const std::string& fileName);

// The stored built-in text for a key: "fable", "none", "title", "author",
// or the author page for any other key.
LineList builtinTextFor(const std::string& key, const ReaderState& state);

// What opening a text asks of the rest of the program (the session wires it
// to the bookmarks, the window and paging).
class BookOpeningHost {
public:
    virtual ~BookOpeningHost() = default;
    // Loads the bookmark file and finds the open book's section.
    virtual void loadBookmarkSection() = 0;
    // A Yes/No box with no icon; true for Yes.
    virtual bool askYesNo(const std::string& message, const std::string& title) = 0;
    // An error box; the text is shown with a full stop added.
    virtual void error(const std::string& text) = 0;
    // Draws the panel on which a line stands; returns the next line.
    virtual std::int32_t ShowLine(std::int32_t line) = 0;
    // The stored bytes of a text kept on disk (one of the reader's own
    // books), or nothing for a built-in text. A file that cannot be read
    // gives no bytes, its error already shown.
    virtual std::optional<std::string> storedBytes(const std::string& fileName) = 0;
};

class BookOpening {
public:
    BookOpening(ReaderState& state, BookOpeningHost& host) : state_(state), host_(host) {}

    void OpenBook(const std::string& fileName, const std::string& anchor);

private:
    void load(const std::string& fileName);
    std::int32_t resumeLine();

    ReaderState& state_;
    BookOpeningHost& host_;
};

}  // namespace varnet
