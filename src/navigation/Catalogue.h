// The built-in catalogue behind the contents tree: rows of caption, "<<",
// level character, key and optional "@" anchor; and what a click on a row
// opens. The tree itself is the window's; this unit says how to build it.
#pragma once

#include "BookFiles.h"
#include "LineList.h"
#include "ReaderPorts.h"
#include "ReaderState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnet {

inline constexpr const char* kNotHereYet = "Not here yet";
// The window's caption; with a book open, the caption, this separator and
// the book's title.
inline constexpr const char* kCaption = "Varnet";
inline constexpr const char* kCaptionSeparator = " -- ";

// The 55 built-in rows, the last the terminator "(END)".
LineList builtinCatalogueRows();

// Row 0 up to its marker, trimmed: the application title.
std::string applicationTitleFrom(const LineList& rows);

// One node of the contents tree as built from the rows, in creation order;
// parent is the index of an earlier node, or -1 for a top-level node.
struct CatalogueNode {
    std::string text;
    std::int32_t parent;
};
std::vector<CatalogueNode> buildCatalogueTree(const LineList& rows);

// The bookmark file's first content: "<<" + key for each book row up to the
// row that opens the by-author list.
LineList seedBookmarkLines(const LineList& rows);

// The first row from 1 to the one before the last holding "<<1author".
std::optional<std::int32_t> byAuthorRow(const LineList& rows);

// What a row opens: the key (with "@" anchor, as the row holds it) and the
// title of its book row.
struct RowDestination {
    std::string targetKey;
    std::string bookTitle;
};
RowDestination resolveRow(const LineList& rows, std::int32_t row);

// What a click on the contents tree needs of the window.
class CatalogueWindow : public virtual MessageWindow {
public:
    virtual ~CatalogueWindow() = default;
    // The absolute index of the selected node, if one is selected.
    virtual std::optional<std::int32_t> selectedNodeIndex() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setOpenDialogFileName(const std::string& name) = 0;
    virtual void setIndexTabVisible(bool visible) = 0;
    // Back to the "Load Index" panel with an empty index tree.
    virtual void resetIndexPage() = 0;
    virtual void showReadingPage() = 0;
};

// What a click in the contents tree asks of the rest of the program (the
// session wires it to the bookmarks, book opening and the file system).
class CatalogueHost {
public:
    virtual ~CatalogueHost() = default;
    virtual void WriteClosingBookmark() = 0;
    virtual void OpenBook(const std::string& fileName, const std::string& anchor) = 0;
    virtual bool fileExists(const std::string& path) const = 0;
};

class CatalogueClick {
public:
    CatalogueClick(ReaderState& state, CatalogueWindow& window, CatalogueHost& host)
        : state_(state), window_(window), host_(host) {}

    void TOCTreeViewClick();
    void TOCTreeViewDblClick() {
        state_.TreeToggled = false;
        TOCTreeViewClick();
    }
    void TOCTreeViewExpanded() { state_.TreeToggled = true; }
    void TOCTreeViewCollapsed() { state_.TreeToggled = true; }

    // Opens one of the reader's own books as a row opens a built-in one:
    // `folder` holds its text; the destination's key may carry an "@" anchor.
    void openOwnBook(const std::string& folder, const RowDestination& destination);

private:
    // Leaving the text on show: its closing bookmark when the reader moved.
    void leaveOpenText(const std::string& folder);
    // Opens TargetKey (with its anchor) from `folder` on the Reading page.
    void openTarget(const std::string& folder);

    ReaderState& state_;
    CatalogueWindow& window_;
    CatalogueHost& host_;
};

}  // namespace varnet
