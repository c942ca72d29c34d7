// Named bookmarks and closing bookmarks. All books share one bookmark file:
// a section per book key ("<<" + key), bookmark lines "#" + line + " " + name
// directly after it, newest first. The file is read and written whole.
#pragma once

#include "ReaderPorts.h"
#include "ReaderState.h"
#include "StorageTexts.h"
#include "TextFileStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnet {

inline constexpr const char* kNoBookmarkAdded = "No BookMark Added";
inline constexpr const char* kClosedBookAt = "Closed book at ";

// The current local date and time as the user's settings write them.
struct LocalDateTime {
    std::string date;       // short date format
    std::string time;       // long time format
    bool midnight = false;  // exactly 00:00:00
};

// "#" + line + " " + name.
std::string bookmarkLine(std::int32_t line, const std::string& name);

// "Closed book at " + date, and the time unless it is exactly midnight.
std::string closingBookmarkName(const LocalDateTime& now);

// What the bookmark operations need of the window.
class BookmarkWindow : public virtual MessageWindow {
public:
    virtual ~BookmarkWindow() = default;
    virtual void setDeleteAndGotoEnabled(bool enabled) = 0;
    // Shows the bookmark-name dialog modally and returns its edit text as it
    // stands when the dialog closes by OK or its close box; nothing when the
    // reader cancels it (Escape).
    virtual std::optional<std::string> askBookmarkName() = 0;
    virtual LocalDateTime now() = 0;
};

class Bookmarks {
public:
    // Going to a bookmark shows the panel on which its line stands.
    Bookmarks(ReaderState& state, TextFileStore& store, BookmarkWindow& window, PanelPlacer& placer)
        : state_(state), store_(store), window_(window), placer_(placer) {}

    // How the last look at the bookmark file went.
    enum class SectionLoad {
        loaded,      // read, and the section found or added
        notLoaded,   // no list yet, or no file: nothing was done
        unreadable,  // the file is there but cannot be read; nothing changed
        saveFailed,  // adding the section's header could not be saved (shown)
    };

    void FindBookmarkSection();
    // The Bookmarks menu's drop-down step: loads the file and finds, or adds,
    // the section of the text on show. A file that cannot be read is not
    // reported here; the operations that would write it report it.
    SectionLoad BMMenuClick();
    void BMAddItemClick();
    // Captions of the listed bookmarks (what follows the first blank of each
    // line), newest first; returns the index of the last, or negative.
    std::int32_t FillBookmarkPopup();
    const std::vector<std::string>& popupCaptions() const { return popup_; }
    void BMDeletePopupHandler(std::int32_t item);
    void BMGotoPopupHandler(std::int32_t item);
    void WriteClosingBookmark();

    std::string sectionHeader() const { return sectionHeaderOf(state_.BookKey); }
    static std::string sectionHeaderOf(const std::string& key) { return "<<" + key; }

    // The keys the bookmark file has sections for (none when it cannot be
    // read).
    std::vector<std::string> sectionKeys() const;
    // Gives a new book a section of its own, followed by an empty line: the
    // file's last line is never read as part of a section, so otherwise the
    // first bookmark it gets would be that last line, never listed or
    // offered. A file that cannot be read is left alone, and a failure here
    // loses nothing (the section is made when first needed).
    void addSectionFor(const std::string& key);
    // The file was there but could not be read at the last drop-down step.
    bool fileUnreadable() const { return unreadable_; }

private:
    // Inserts at index, or appends when the index lies past the end.
    void insertLine(std::int32_t index, std::string line);
    // Writes the lines over the file, unless a file stands there that cannot
    // be read: the lines in memory do not hold what it holds, and writing
    // them would lose every bookmark in it. Each failure is shown once.
    bool save();
    void reportUnreadable();

    ReaderState& state_;
    TextFileStore& store_;
    BookmarkWindow& window_;
    PanelPlacer& placer_;
    std::vector<std::string> popup_;
    bool unreadable_ = false;
};

}  // namespace varnet
