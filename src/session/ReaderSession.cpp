#include "ReaderSession.h"

#include "AtomicFile.h"
#include "BookImporter.h"
#include "FileLocations.h"
#include "LineFormat.h"
#include "SaveScreen.h"
#include "StorageTexts.h"

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace varnet {

ReaderSession::ReaderSession(ReaderWindow& window, DrawingSurface& surface, TextFileStore& store,
                             BookImporter* importer)
    : window_(window),
      store_(store),
      renderer_(state_, surface, window),
      paging_(state_, renderer_, &window.findOptions()),
      options_(state_, renderer_, window),
      bookmarks_(state_, store, window, paging_),
      opening_(state_, *this),
      catalogue_(state_, window, *this),
      search_(state_, window.findOptions(), renderer_),
      importer_(importer) {}

// ---------------------------------------------------------------- start-up and close

void ReaderSession::start(const StartupPlaces& places) {
    state_.CurrentText = LineList();
    state_.LastIndexEntry = " ";
    state_.OpenFileName.clear();
    state_.BookFolder = bookFolderFrom(places.programPath);
    programFolder_ = state_.BookFolder;
    state_.BaseName = baseNameFrom(places.programPath);

    // One data folder per user, created when nothing stands at its path. A
    // failure ends start-up here; the window still opens and runs.
    dataFolder_ = places.dataFolder;
    myBooks_ = MyBooks(dataFolder_ + "/" + kBooksFolderName + "/");
    if (const FileResult made = applyDataFolderRule(dataFolder_); !made) {
        endStartupEarly(kCannotCreateFolder + dataFolder_ + ": " + made.error);
        return;
    }
    const ScreenSize screen = window_.screenSize();
    const ResolveResult paths = ResolveFilePaths(state_, dataFolder_, screen.width, screen.height);
    window_.setIndexTabVisible(paths.indexTabVisible);
    if (!paths.ok) {
        endStartupEarly(paths.error);
        return;
    }

    LoadSettings();
    // A book of the reader's own named on the command line (an existing file
    // an import reads) is imported, or opened when it is in My Books already,
    // once the contents tree lists My Books; any other name names a text.
    const std::string named = places.commandLineFile.value_or(std::string());
    const bool ownBook =
        !named.empty() && importFormatOf(named) != ImportFormat::None && varnet::fileExists(named);
    if (!named.empty() && !ownBook) {
        // The bookmark file exists before the text opens, so that its lines
        // are loaded and leaving the text after paging keeps its place even
        // on the very first start.
        seedBookmarkFile();
        window_.setOpenDialogFileName(named);
        opening_.OpenBook(named, " ");
    }
    const std::vector<std::string> damaged = myBooks_.load();
    BuildCatalogue();
    if (!damaged.empty()) {
        std::string list;
        for (const auto& path : damaged) list += (list.empty() ? "" : ", ") + path;
        window_.error(kSkippedDamagedBooks + list);
    }
    if (ownBook) importBook(named);
}

// A start-up that ends early still shows the instructions readably: in the
// options of a fresh settings file, with nothing written.
void ReaderSession::endStartupEarly(const std::string& message) {
    window_.error(message);
    const ScreenSize screen = window_.screenSize();
    LineList fresh;
    WriteDefaultSettings(fresh, screen.width, screen.height, state_.TocPath);
    applyOptionSettings(readSettingsValues(fresh.toBytes()));
}

void ReaderSession::LoadSettings() {
    const SettingsValues v = readSettingsValuesFromFile(state_.SettingsPath);
    if (v.fontsize > 0) window_.setTreeFontSize(v.fontsize);
    // Stored bounds below the window's minimum size are raised to it.
    const WindowBounds stored{v.tleft, v.ttop, std::max(v.twidth, kMinimumWindowWidth),
                              std::max(v.theight, kMinimumWindowHeight)};
    storedBoundsBad_ = !window_.placeWindow(stored);
    applyOptionSettings(v);
    window_.settingsLoaded();
    state_.BookmarkLines = LineList();
}

void ReaderSession::applyOptionSettings(const SettingsValues& v) {
    // Each box runs its handler when its state changes.
    window_.setTwoColorChecked(v.twocolor == 1);
    window_.setSingleShadeChecked(v.plainbkg == 1);
    window_.setTwoColumnsChecked(v.twocolumn == 1);
    window_.setFontSizePosition(v.fontsize);
    window_.setFontSizeSpinner(window_.fontSizePosition());
    window_.setSchemeSelection(std::clamp(v.background, -1, 2));
    options_.BGColorRadioGroupClick();
    options_.FontSizeTrackBarChange();
}

void ReaderSession::SaveWindowSettings() {
    if (state_.SettingsPath.empty()) return;
    // A maximised or full-screen window writes the bounds it comes back to.
    const WindowBounds bounds = window_.normalBounds();
    WindowSettings w;
    w.background = window_.schemeSelection();
    w.tleft = bounds.left;
    w.ttop = bounds.top;
    w.theight = bounds.height;
    w.twidth = bounds.width;
    w.fontsize = window_.fontSizePosition();
    w.plainbkg = window_.singleShadeChecked();
    w.twocolor = window_.noColouredTextChecked();
    const ScreenSize screen = window_.screenSize();
    if (const FileResult saved =
            writeWindowSettings(state_.SettingsPath, w, screen.width, screen.height, storedBoundsBad_);
        !saved)
        window_.error(saved.error);
}

void ReaderSession::ResetToStartupDefaults() {
    const ScreenSize screen = window_.screenSize();
    if (const FileResult written =
            writeDefaultSettingsFile(state_.SettingsPath, screen.width, screen.height, state_.TocPath);
        !written) {
        window_.error(written.error);
        return;
    }
    // Loading the settings forgets the bookmark lines; the text on show
    // keeps those it holds, so that its place is still kept at close.
    std::optional<LineList> held = std::move(state_.BookmarkLines);
    LoadSettings();
    if (held && !held->empty()) state_.BookmarkLines = std::move(held);
    renderer_.Redraw();
}

void ReaderSession::BuildCatalogue() {
    state_.CatalogueLines = builtinCatalogueRows();
    window_.setApplicationTitle(applicationTitleFrom(*state_.CatalogueLines));
    showContents();

    seedBookmarkFile();
    expandCatalogue();
}

// A missing bookmark file is written with a section for every built-in text.
void ReaderSession::seedBookmarkFile() {
    // The folder was made at start-up; asking again costs nothing.
    (void)applyDataFolderRule(dataFolder_);
    if (!state_.BookmarkPath.empty() && !store_.exists(state_.BookmarkPath))
        (void)store_.save(state_.BookmarkPath, seedBookmarkLines(builtinCatalogueRows()));
}

// The built-in catalogue's branches open as start-up opens them, the first
// row selected.
void ReaderSession::expandCatalogue() {
    if (const auto row = byAuthorRow(*state_.CatalogueLines)) window_.expandAndSelectNode(*row);
    window_.expandAndSelectNode(0);
}

void ReaderSession::OpenContentsFile(const std::string& path) {
    state_.BaseName = baseNameFrom(path);
    state_.BookFolder = bookFolderFrom(path);
    const ScreenSize screen = window_.screenSize();
    const ResolveResult paths = ResolveFilePaths(state_, dataFolder_, screen.width, screen.height);
    window_.setIndexTabVisible(paths.indexTabVisible);
    if (!paths.ok) window_.error(paths.error);
    window_.showIndexTree({});
    LoadSettings();
    state_.CatalogueLines.reset();
    BuildCatalogue();
}

void ReaderSession::close() {
    // Settings first, the closing bookmark second; each failure is shown and
    // the window closes all the same.
    SaveWindowSettings();
    bookmarks_.WriteClosingBookmark();
}

// ---------------------------------------------------------------- the contents tree and My Books

void ReaderSession::showContents() {
    // A start-up that ended early built no catalogue: an import builds it.
    if (!state_.CatalogueLines) state_.CatalogueLines = builtinCatalogueRows();
    std::vector<CatalogueNode> nodes = buildCatalogueTree(*state_.CatalogueLines);
    builtInNodes_ = static_cast<std::int32_t>(nodes.size());
    ownNodes_.clear();
    const std::vector<MyBook>& books = myBooks_.books();
    if (!books.empty()) {
        const auto root = static_cast<std::int32_t>(nodes.size());
        nodes.push_back({kMyBooksCaption, -1});
        ownNodes_.push_back({});
        for (std::size_t b = 0; b < books.size(); ++b) {
            const MyBook& book = books[b];
            const auto bookNode = static_cast<std::int32_t>(nodes.size());
            nodes.push_back({book.author.empty() ? book.title : book.title + ", by " + book.author, root});
            ownNodes_.push_back({static_cast<std::int32_t>(b), 0});
            for (std::size_t k = 0; k < book.chapters.size(); ++k) {
                nodes.push_back({std::to_string(k + 1) + ".  " + book.chapters[k], bookNode});
                ownNodes_.push_back({static_cast<std::int32_t>(b), static_cast<std::int32_t>(k) + 1});
            }
        }
    }
    window_.showCatalogue(nodes);
}

std::optional<ReaderSession::OwnNode> ReaderSession::ownNodeAt(std::int32_t index) const {
    const std::int32_t own = index - builtInNodes_;
    if (own < 0 || own >= static_cast<std::int32_t>(ownNodes_.size())) return std::nullopt;
    return ownNodes_[static_cast<std::size_t>(own)];
}

void ReaderSession::contentsTreeClicked() {
    const auto selected = window_.selectedNodeIndex();
    const auto own = selected ? ownNodeAt(*selected) : std::nullopt;
    if (!own) {
        catalogue_.TOCTreeViewClick();
        return;
    }
    // Expanding or collapsing a node opens nothing, as in the catalogue.
    if (state_.TreeToggled) {
        state_.TreeToggled = false;
        return;
    }
    if (own->book < 0) return;  // the "My Books" node itself
    openOwnBook(myBooks_.books()[static_cast<std::size_t>(own->book)], own->chapter);
}

void ReaderSession::contentsTreeDoubleClicked() {
    state_.TreeToggled = false;
    contentsTreeClicked();
}

void ReaderSession::openOwnBook(const MyBook& book, std::int32_t chapter) {
    RowDestination destination;
    destination.targetKey = chapter > 0 ? book.key + "@" + anchorName(chapter) : book.key;
    destination.bookTitle = book.title;
    catalogue_.openOwnBook(myBooks_.folder(), destination);
}

const MyBook* ReaderSession::selectedOwnBook() const {
    const auto selected = window_.selectedNodeIndex();
    const auto own = selected ? ownNodeAt(*selected) : std::nullopt;
    if (!own || own->book < 0) return nullptr;
    return &myBooks_.books()[static_cast<std::size_t>(own->book)];
}

void ReaderSession::importBook(const std::string& path) {
    if (const MyBook* known = myBooks_.findBySource(path)) {
        const MyBook book = *known;
        selectBookNode(book.key);
        openOwnBook(book, 0);
        return;
    }
    if (!importer_) importer_ = &helper_.emplace(programFolder_ + kImportHelperName);
    ImportOutcome outcome;
    try {
        outcome = importer_->importBook(path);
    } catch (const std::bad_alloc&) {
        outcome.error = importFailure(path, kImportNeedsTooMuchMemory);
    }
    if (!outcome.book) {
        window_.error(outcome.error);
        return;
    }
    // A text the reader could not read back is not kept.
    std::size_t bytes = 0;
    for (const std::string& line : outcome.book->text.stored) bytes += line.size() + 2;
    if (bytes > kMaxReadBytes) {
        window_.error(importFailure(path, "laid out, it is larger than the reader can open"));
        return;
    }
    // A new book never takes a key the bookmark file has a section for, so
    // that it is never offered another book's places.
    const MyBooks::Stored stored = myBooks_.store(outcome.book->text, outcome.book->title,
                                                  outcome.book->author, path, bookmarks_.sectionKeys());
    outcome.book.reset();  // the laid-out lines are on disk now
    // Those lines were tens of thousands of small blocks, now free but
    // scattered through the heap, where the few large blocks of the opened
    // book cannot use them: they go back to the system before it opens.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    if (!stored.book) {
        window_.error(stored.error);
        return;
    }
    bookmarks_.addSectionFor(stored.book->key);
    showContents();
    expandCatalogue();
    selectBookNode(stored.book->key);
    openOwnBook(*stored.book, 0);
}

void ReaderSession::selectBookNode(const std::string& key) {
    for (std::int32_t n = 0; n < static_cast<std::int32_t>(ownNodes_.size()); ++n) {
        const OwnNode& node = ownNodes_[static_cast<std::size_t>(n)];
        if (node.book >= 0 && node.chapter == 0 &&
            myBooks_.books()[static_cast<std::size_t>(node.book)].key == key)
            window_.expandAndSelectNode(builtInNodes_ + n);
    }
}

bool ReaderSession::removeSelectedBook() {
    const MyBook* selected = selectedOwnBook();
    if (!selected) {
        window_.notice(kSelectBookToRemove);
        return false;
    }
    const MyBook book = *selected;
    if (!window_.askYesNo(kRemoveBookQuestionStart + book.title + kRemoveBookQuestionEnd, kRemoveBookTitle))
        return false;
    if (const FileResult removed = myBooks_.remove(book.key); !removed) {
        window_.error(kCannotRemoveBook + myBooks_.filesOf(book.key).card + ": " + removed.error);
        return false;
    }
    // The book on show goes with it: its place is kept, and the welcome page
    // takes its room, so nothing shows or indexes files that are gone.
    if (state_.OpenFileName == myBooks_.filesOf(book.key).text) {
        bookmarks_.WriteClosingBookmark();
        state_.ReadingMoved = false;
        state_.IndexPath.clear();
        state_.IndexLines.reset();
        window_.setIndexTabVisible(false);
        window_.resetIndexPage();
        window_.setCaption(kCaption);
        opening_.OpenBook(state_.BookFolder + "none" + kTextExtension, "00000");
    }
    showContents();
    expandCatalogue();
    return true;
}

std::optional<std::string> ReaderSession::storedBytes(const std::string& fileName) {
    if (!myBooks_.holds(fileName)) return std::nullopt;
    std::string bytes;
    if (const FileResult read = readWholeFile(fileName, bytes); !read) {
        window_.error(kCannotReadFile + fileName + ": " + read.error);
        return std::string();
    }
    return bytes;
}

// ---------------------------------------------------------------- files

void ReaderSession::openTextFile(const std::string& path) {
    opening_.OpenBook(path, " ");
}

void ReaderSession::saveScreen(const std::string& path) {
    if (const FileResult saved = AtomicFile::write(path, savedScreenBytes(state_)); !saved)
        window_.error(kCannotCreateFile + path);
}

// ---------------------------------------------------------------- the word index

bool ReaderSession::hasWordIndex() const {
    return !state_.IndexPath.empty() && varnet::fileExists(state_.IndexPath);
}

std::vector<IndexNode> ReaderSession::loadWordIndex() {
    std::string bytes;
    (void)readWholeFile(state_.IndexPath, bytes);
    state_.IndexLines = prepareIndexLines(LineList::fromBytes(bytes));
    return buildIndexTree(*state_.IndexLines);
}

void ReaderSession::followIndexEntry(const std::optional<std::string>& selectedText) {
    // The reference followed last is remembered only while its panel is on
    // show: once the reader has moved elsewhere, the same reference jumps
    // again.
    if (state_.TopLine != indexPanelTop_) state_.LastIndexEntry = " ";
    if (followIndexNode(state_, selectedText, paging_)) indexPanelTop_ = state_.TopLine;
}

// ---------------------------------------------------------------- the hosts

void ReaderSession::loadBookmarkSection() {
    (void)bookmarks_.BMMenuClick();
}
bool ReaderSession::askYesNo(const std::string& message, const std::string& title) {
    return window_.askYesNo(message, title);
}
void ReaderSession::error(const std::string& text) {
    window_.error(text);
}
std::int32_t ReaderSession::ShowLine(std::int32_t line) {
    return paging_.ShowLine(line);
}
void ReaderSession::WriteClosingBookmark() {
    bookmarks_.WriteClosingBookmark();
}
void ReaderSession::OpenBook(const std::string& fileName, const std::string& anchor) {
    opening_.OpenBook(fileName, anchor);
}
bool ReaderSession::fileExists(const std::string& path) const {
    return varnet::fileExists(path);
}

}  // namespace varnet
