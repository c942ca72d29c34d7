// Making a text the one being read: loading the built-in text for its key
// when the name changes, bringing it into normalised form, and choosing the
// line the first panel starts on (after a named anchor, or at the newest
// bookmark when the reader accepts the offer to resume there).
#pragma once

#include "ReaderState.h"

#include <cstdint>
#include <functional>
#include <string>

namespace varnet {

inline constexpr const char* kEndMarker = "p999";
inline constexpr const char* kClosingLine = "l08END OF FILE";
inline constexpr const char* kFinalBlankLine = " ";
inline constexpr const char* kResumeQuestion = "Do you want to start reading where you last closed the file?";

// The key of a text: its file name without folder, cut before the first ".";
// a name without "." gives the empty key.
std::string bookKeyFrom(const std::string& fileName);

// The stored built-in text for a key: "fable", "none", "title", "author",
// or the author page for any other key.
LineList builtinTextFor(const std::string& key, const ReaderState& state);

// What opening a text needs from elsewhere.
struct BookOpeningHooks {
    // Loads the bookmark file and finds the open book's section.
    std::function<void()> loadBookmarkSection;
    // A Yes/No box with no icon; true for Yes.
    std::function<bool(const std::string& message, const std::string& title)> askYesNo;
    // An error box; the text is shown with a full stop added.
    std::function<void(const std::string& text)> error;
    std::function<std::int32_t(std::int32_t)> drawPanel;
};

class BookOpening {
public:
    BookOpening(ReaderState& state, BookOpeningHooks hooks) : state_(state), hooks_(std::move(hooks)) {}

    void OpenBook(const std::string& fileName, const std::string& anchor);

private:
    void load(const std::string& fileName);
    std::int32_t resumeLine();

    ReaderState& state_;
    BookOpeningHooks hooks_;
};

}  // namespace varnet
