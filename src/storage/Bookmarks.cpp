#include "Bookmarks.h"

#include "TextFormat.h"

namespace varnet {

namespace {
// Where a section header stands. Line 0 is never taken as a header; without
// a match the index ends on the last line (or at 1 for a file of fewer than
// two lines).
std::int32_t headerIndex(const LineList& lines, const std::string& header) {
    const std::int32_t n = lines.count();
    std::int32_t i = 1;
    while (i < n - 1 && lines[i] != header) ++i;
    return i;
}
}  // namespace

std::string bookmarkLine(std::int32_t line, const std::string& name) {
    std::string text(1, '#');
    text.append(std::to_string(line)).append(1, ' ').append(name);
    return text;
}

std::string closingBookmarkName(const LocalDateTime& now) {
    std::string name(kClosedBookAt);
    name += now.date;
    if (!now.midnight) name.append(1, ' ').append(now.time);
    return name;
}

void Bookmarks::FindBookmarkSection() {
    state_.BookmarkSection = headerIndex(*state_.BookmarkLines, sectionHeader());
}

void Bookmarks::reportUnreadable() {
    window_.error(kCannotReadFile + state_.BookmarkPath);
}

bool Bookmarks::save() {
    // Checked again at the moment of writing: the file may have changed
    // since the drop-down step read it.
    if (store_.exists(state_.BookmarkPath) && !store_.readable(state_.BookmarkPath)) {
        unreadable_ = true;
        reportUnreadable();
        return false;
    }
    if (store_.save(state_.BookmarkPath, *state_.BookmarkLines)) return true;
    window_.error(kCannotCreateFile + state_.BookmarkPath);
    return false;
}

Bookmarks::SectionLoad Bookmarks::BMMenuClick() {
    if (!state_.BookmarkLines || !store_.exists(state_.BookmarkPath)) {
        unreadable_ = false;
        return SectionLoad::notLoaded;
    }
    LineList loaded;
    if (!store_.load(state_.BookmarkPath, loaded)) {
        // Nothing of the file is known: no bookmark is listed, and the lines
        // held from before are dropped so that no later step mistakes them
        // for the file's.
        unreadable_ = true;
        state_.BookmarkLines->clear();
        state_.BookmarkSection = 1;
        state_.BookmarkSectionEnd = 1;
        window_.setDeleteAndGotoEnabled(false);
        return SectionLoad::unreadable;
    }
    unreadable_ = false;
    *state_.BookmarkLines = std::move(loaded);
    LineList& lines = *state_.BookmarkLines;

    FindBookmarkSection();
    const std::string header = sectionHeader();
    std::int32_t n = lines.count();
    if (n >= 1 && state_.BookmarkSection == n - 1 && lines[n - 1] != header) {
        const std::string last(lines[n - 1]);
        if (!last.empty() && (last[0] == '#' || last[0] == '<')) {
            lines.add(header);
        } else {
            // A last line that is neither header nor bookmark gives way to
            // the new header, and an empty line follows it.
            lines.put(n - 1, header);
            lines.add("");
        }
        if (!save()) {
            // The operation that asked for the section stops here; the
            // failure has been shown once.
            FindBookmarkSection();
            state_.BookmarkSectionEnd = state_.BookmarkSection + 1;
            window_.setDeleteAndGotoEnabled(false);
            return SectionLoad::saveFailed;
        }
        FindBookmarkSection();
        n = lines.count();
    }

    std::int32_t end = state_.BookmarkSection + 1;
    while (end < n - 1 && !lines[end].starts_with("<<")) ++end;
    if (end > state_.BookmarkSection + 99) end = state_.BookmarkSection + 99;
    state_.BookmarkSectionEnd = end;
    window_.setDeleteAndGotoEnabled(state_.BookmarkSection + 1 < state_.BookmarkSectionEnd);
    return SectionLoad::loaded;
}

void Bookmarks::insertLine(std::int32_t index, std::string line) {
    LineList& lines = *state_.BookmarkLines;
    if (index < 0) index = 0;
    if (index > lines.count()) index = lines.count();
    lines.insert(index, std::move(line));
}

void Bookmarks::BMAddItemClick() {
    // No name is asked for a bookmark that could not be kept.
    if (unreadable_) {
        reportUnreadable();
        return;
    }
    const std::optional<std::string> asked = window_.askBookmarkName();
    if (!asked) return;  // cancelled: nothing added, nothing written
    const std::string& name = *asked;
    if (name.empty()) {
        window_.notice(kNoBookmarkAdded);
        return;
    }
    state_.ReadingMoved = false;
    if (!state_.BookmarkLines) state_.BookmarkLines = LineList();
    insertLine(state_.BookmarkSection + 1, bookmarkLine(state_.TopLine, name));
    save();
}

std::int32_t Bookmarks::FillBookmarkPopup() {
    popup_.clear();
    const std::int32_t last = state_.BookmarkSectionEnd - state_.BookmarkSection - 2;
    if (last < 0) return last;
    const LineList empty;
    const LineList& lines = state_.BookmarkLines ? *state_.BookmarkLines : empty;
    for (std::int32_t k = 0; k <= last; ++k) {
        const std::int32_t i = state_.BookmarkSection + 1 + k;
        // The section found by the last drop-down may have shrunk since; only
        // lines that exist are listed.
        if (i < 0 || i >= lines.count()) break;
        const std::string_view line = lines[i];
        const auto blank = line.find(' ');
        popup_.emplace_back(blank == std::string_view::npos ? line : line.substr(blank + 1));
    }
    return static_cast<std::int32_t>(popup_.size()) - 1;
}

void Bookmarks::BMDeletePopupHandler(std::int32_t item) {
    if (!state_.BookmarkLines) return;
    if (unreadable_) {
        reportUnreadable();
        return;
    }
    const std::int32_t i = state_.BookmarkSection + 1 + item;
    if (item < 0 || i < 0 || i >= state_.BookmarkLines->count()) return;
    state_.BookmarkLines->erase(i);
    save();
}

void Bookmarks::BMGotoPopupHandler(std::int32_t item) {
    if (!state_.BookmarkLines) return;
    const std::int32_t i = state_.BookmarkSection + 1 + item;
    if (item < 0 || i < 0 || i >= state_.BookmarkLines->count()) return;
    std::string text;
    const auto line = bookmarkLineNumber((*state_.BookmarkLines)[i], &text);
    if (!line) {
        window_.error(notAnIntegerMessage(text));
        return;
    }
    // A hand-edited negative line starts the panel at the top of the text.
    state_.NextLine = placer_.ShowLine(*line < 0 ? 0 : *line);
}

std::vector<std::string> Bookmarks::sectionKeys() const {
    std::vector<std::string> keys;
    LineList lines;
    if (state_.BookmarkPath.empty() || !store_.exists(state_.BookmarkPath) ||
        !store_.load(state_.BookmarkPath, lines))
        return keys;
    for (const std::string_view line : lines)
        if (line.size() > 2 && line.starts_with("<<")) keys.emplace_back(line.substr(2));
    return keys;
}

void Bookmarks::addSectionFor(const std::string& key) {
    if (state_.BookmarkPath.empty() || !store_.exists(state_.BookmarkPath)) return;
    LineList lines;
    if (!store_.load(state_.BookmarkPath, lines)) return;
    const std::string header = sectionHeaderOf(key);
    // As the section search reads it: never line 0, never the last line.
    if (const std::int32_t at = headerIndex(lines, header); at + 1 < lines.count() && lines[at] == header)
        return;
    if (!lines.empty() && lines[lines.count() - 1].empty())
        lines.put(lines.count() - 1, header);
    else
        lines.add(header);
    lines.add("");
    (void)store_.save(state_.BookmarkPath, lines);
}

void Bookmarks::WriteClosingBookmark() {
    // Lines are held whenever a text was opened; a file that could not be
    // read then leaves them empty, and its place is still due.
    if (!state_.BookmarkLines || !state_.ReadingMoved) return;
    if (state_.BookmarkLines->empty() && !unreadable_) return;
    state_.ReadingMoved = false;
    switch (BMMenuClick()) {
        case SectionLoad::loaded:
            break;
        case SectionLoad::unreadable:
            reportUnreadable();
            return;
        case SectionLoad::saveFailed:
            return;
        case SectionLoad::notLoaded:
            // The file has gone since the text was opened: it is written anew
            // from the lines held.
            if (state_.BookmarkLines->empty()) return;
            break;
    }
    insertLine(state_.BookmarkSection + 1, bookmarkLine(state_.TopLine, closingBookmarkName(window_.now())));
    save();
    state_.BookmarkLines->clear();
}

}  // namespace varnet
