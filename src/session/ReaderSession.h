// The reader's front door: owns the one ReaderState, builds every engine
// object once and wires them to each other and to the window's port, and
// carries the operations that span them (start-up, settings at start and at
// close, opening a contents file, saving the screen, the word index). The
// window forwards its handlers here; tests, fuzz targets and benchmarks
// drive a session with a fake window and a fake surface.
#pragma once

#include "BookImporter.h"
#include "BookOpening.h"
#include "Bookmarks.h"
#include "Catalogue.h"
#include "DisplayOptions.h"
#include "DrawingSurface.h"
#include "MyBooks.h"
#include "Paging.h"
#include "PanelRenderer.h"
#include "ReaderState.h"
#include "ReaderWindow.h"
#include "SettingsFile.h"
#include "TextFileStore.h"
#include "TextSearch.h"
#include "WordIndex.h"

#include <optional>
#include <string>
#include <vector>

namespace varnet {

// Where start-up finds the program and the reader's data.
struct StartupPlaces {
    std::string programPath;                     // the program file, resolved
    std::string dataFolder;                      // the per-user data folder
    std::optional<std::string> commandLineFile;  // the text named on the command line
};

class ReaderSession final : private BookOpeningHost, private CatalogueHost {
public:
    // Books are imported by the helper program beside the program unless an
    // importer is given (tests and benchmarks import in their own process).
    ReaderSession(ReaderWindow& window, DrawingSurface& surface, TextFileStore& store = diskFileStore(),
                  BookImporter* importer = nullptr);
    ReaderSession(const ReaderSession&) = delete;
    ReaderSession& operator=(const ReaderSession&) = delete;

    ReaderState& state() { return state_; }
    const ReaderState& state() const { return state_; }
    PanelRenderer& renderer() { return renderer_; }
    Paging& paging() { return paging_; }
    DisplayOptions& options() { return options_; }
    Bookmarks& bookmarks() { return bookmarks_; }
    BookOpening& opening() { return opening_; }
    CatalogueClick& catalogue() { return catalogue_; }
    TextSearch& search() { return search_; }

    // Start-up, once the window's surfaces are cleared: the program's folder
    // and name, the data folder, the side files' paths, the settings, the
    // text named on the command line, and the contents tree. A data folder
    // that cannot be made, or paths that cannot be resolved, end it early
    // with one message; the options of a fresh settings file are applied
    // then, and nothing is written.
    void start(const StartupPlaces& places);
    // Reads the settings file into the window's bounds and option widgets.
    void LoadSettings();
    void applyOptionSettings(const SettingsValues& values);
    // Writes the window's bounds and options to the settings file; a failure
    // is shown.
    void SaveWindowSettings();
    // Rewrites the default settings file and applies it.
    void ResetToStartupDefaults();
    // The built-in catalogue into the contents tree; the bookmark file is
    // seeded with the catalogue's sections when there is none.
    void BuildCatalogue();
    // Opens a contents file: the program's folder and name become the file's,
    // the side files' paths follow, and the settings and the catalogue are
    // read again.
    void OpenContentsFile(const std::string& path);
    // Closing: the settings first, then the closing bookmark; each failure is
    // shown once.
    void close();

    // Opens the text named `path` at its start (a file chosen to read).
    void openTextFile(const std::string& path);
    // Writes the panel on show as plain text; a failure is shown.
    void saveScreen(const std::string& path);

    // The contents tree: a click (or double click) on its selected node,
    // the built-in catalogue's rows as designed, My Books' nodes after them.
    void contentsTreeClicked();
    void contentsTreeDoubleClicked();

    // The reader's own books. Importing a file lays it out, keeps it in My
    // Books and opens it at its start; a file already imported is opened.
    // Each failure is shown as one message and nothing is kept.
    void importBook(const std::string& path);
    // The book of the selected My Books node (the book or one of its
    // chapters), if one is selected.
    const MyBook* selectedOwnBook() const;
    // Asks, then removes the selected book from My Books; its bookmarks stay.
    // Returns whether a book was removed.
    bool removeSelectedBook();
    const MyBooks& myBooks() const { return myBooks_; }

    // Whether the open text has a word-index file.
    bool hasWordIndex() const;
    // Reads the word-index file, keeps its lines and returns its tree.
    std::vector<IndexNode> loadWordIndex();
    // Follows the index node selected (none when nothing is); a reference
    // followed last is followed again once the reader has moved elsewhere.
    void followIndexEntry(const std::optional<std::string>& selectedText);

private:
    // BookOpeningHost
    void loadBookmarkSection() override;
    bool askYesNo(const std::string& message, const std::string& title) override;
    void error(const std::string& text) override;
    std::int32_t ShowLine(std::int32_t line) override;
    // CatalogueHost
    void WriteClosingBookmark() override;
    void OpenBook(const std::string& fileName, const std::string& anchor) override;
    bool fileExists(const std::string& path) const override;
    std::optional<std::string> storedBytes(const std::string& fileName) override;

    // The contents tree: the built-in catalogue's nodes, then My Books'.
    void showContents();
    // The My Books node at this absolute index: the book (chapter 0 for the
    // book itself) or, for the "My Books" node, none.
    struct OwnNode {
        std::int32_t book = -1;
        std::int32_t chapter = 0;
    };
    std::optional<OwnNode> ownNodeAt(std::int32_t index) const;
    void openOwnBook(const MyBook& book, std::int32_t chapter);
    void expandCatalogue();
    void seedBookmarkFile();
    void selectBookNode(const std::string& key);

    void endStartupEarly(const std::string& message);

    ReaderWindow& window_;
    TextFileStore& store_;
    ReaderState state_;
    PanelRenderer renderer_;
    Paging paging_;
    DisplayOptions options_;
    Bookmarks bookmarks_;
    BookOpening opening_;
    CatalogueClick catalogue_;
    TextSearch search_;

    std::string dataFolder_;
    std::string programFolder_;  // where the import helper is
    MyBooks myBooks_{std::string()};
    BookImporter* importer_;
    std::optional<HelperProcessImporter> helper_;  // made at the first import
    // Nodes of the contents tree before My Books', and My Books' own.
    std::int32_t builtInNodes_ = 0;
    std::vector<OwnNode> ownNodes_;
    // The stored bounds were off every screen (or absent): the bounds written
    // at close are then the window's own.
    bool storedBoundsBad_ = false;
    // TopLine of the panel the last index reference showed; -1 for none.
    std::int32_t indexPanelTop_ = -1;
};

}  // namespace varnet
