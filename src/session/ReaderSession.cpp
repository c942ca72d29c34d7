#include "ReaderSession.h"

#include "AtomicFile.h"
#include "FileLocations.h"
#include "SaveScreen.h"
#include "StorageTexts.h"

#include <algorithm>

namespace varnet {

ReaderSession::ReaderSession(ReaderWindow& window, DrawingSurface& surface, TextFileStore& store)
    : window_(window),
      store_(store),
      renderer_(state_, surface, window),
      paging_(state_, renderer_, &window.findOptions()),
      options_(state_, renderer_, window),
      bookmarks_(state_, store, window, paging_),
      opening_(state_, *this),
      catalogue_(state_, window, *this),
      search_(state_, window.findOptions(), renderer_) {}

// ---------------------------------------------------------------- start-up and close

void ReaderSession::start(const StartupPlaces& places) {
    state_.CurrentText = LineList();
    state_.LastIndexEntry = " ";
    state_.OpenFileName.clear();
    state_.BookFolder = bookFolderFrom(places.programPath);
    state_.BaseName = baseNameFrom(places.programPath);

    // One data folder per user, created when nothing stands at its path. A
    // failure ends start-up here; the window still opens and runs.
    dataFolder_ = places.dataFolder;
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
    if (places.commandLineFile && !places.commandLineFile->empty()) {
        window_.setOpenDialogFileName(*places.commandLineFile);
        opening_.OpenBook(*places.commandLineFile, " ");
    }
    BuildCatalogue();
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
    LoadSettings();
    renderer_.Redraw();
}

void ReaderSession::BuildCatalogue() {
    state_.CatalogueLines = builtinCatalogueRows();
    window_.setApplicationTitle(applicationTitleFrom(*state_.CatalogueLines));
    window_.showCatalogue(buildCatalogueTree(*state_.CatalogueLines));

    // The folder was made at start-up; asking again costs nothing.
    (void)applyDataFolderRule(dataFolder_);
    if (!state_.BookmarkPath.empty() && !store_.exists(state_.BookmarkPath))
        (void)store_.save(state_.BookmarkPath, seedBookmarkLines(*state_.CatalogueLines));

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
