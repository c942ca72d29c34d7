// Named bookmarks and closing bookmarks. All books share one bookmark file:
// a section per book key ("<<" + key), bookmark lines "#" + line + " " + name
// directly after it, newest first. The file is read and written whole.
#pragma once

#include "ReaderState.h"
#include "StorageTexts.h"
#include "TextFileStore.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace varnet {

inline constexpr const char* kNoBookmarkAdded = "No BookMark Added";
inline constexpr const char* kClosedBookAt = "Closed book at ";

// The current local date and time as the user's settings write them.
struct LocalDateTime {
    std::string date;  // short date format
    std::string time;  // long time format
    bool midnight = false;  // exactly 00:00:00
};

// "#" + line + " " + name.
std::string bookmarkLine(std::int32_t line, const std::string& name);

// "Closed book at " + date, and the time unless it is exactly midnight.
std::string closingBookmarkName(const LocalDateTime& now);

// What the bookmark operations need of the window.
class BookmarkWindow {
public:
    virtual ~BookmarkWindow() = default;
    virtual void setDeleteAndGotoEnabled(bool enabled) = 0;
    // Shows the bookmark-name dialog modally and returns its edit text as it
    // stands when the dialog closes.
    virtual std::string askBookmarkName() = 0;
    virtual void notice(const std::string& text) = 0;
    // An error box; the text is shown with a full stop added.
    virtual void error(const std::string& text) = 0;
    virtual LocalDateTime now() = 0;
};

class Bookmarks {
public:
    // drawPanel draws the panel from a line and returns the next line.
    Bookmarks(ReaderState& state, TextFileStore& store, BookmarkWindow& window,
              std::function<std::int32_t(std::int32_t)> drawPanel)
        : state_(state), store_(store), window_(window), drawPanel_(std::move(drawPanel)) {}

    void FindBookmarkSection();
    void BMMenuClick();
    void BMAddItemClick();
    // Captions of the listed bookmarks (what follows the first blank of each
    // line), newest first; returns the index of the last, or negative.
    std::int32_t FillBookmarkPopup();
    const std::vector<std::string>& popupCaptions() const { return popup_; }
    void BMDeletePopupHandler(std::int32_t item);
    void BMGotoPopupHandler(std::int32_t item);
    void WriteClosingBookmark();

    std::string sectionHeader() const { return "<<" + state_.BookKey; }

private:
    // Inserts at index, or appends when the index lies past the end.
    void insertLine(std::int32_t index, std::string line);
    bool save();

    ReaderState& state_;
    TextFileStore& store_;
    BookmarkWindow& window_;
    std::function<std::int32_t(std::int32_t)> drawPanel_;
    std::vector<std::string> popup_;
};

}  // namespace varnet
