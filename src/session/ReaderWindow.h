// The one port between the reader and the window it shows in: everything the
// engine asks of a window (position controls, option widgets, messages and
// questions, the bookmark name, the date and time, the caption, the contents
// tree, the index page, the Find dialog's options, the screen and the
// window's bounds). The Qt window implements it; tests implement it with a
// recording fake.
#pragma once

#include "Bookmarks.h"
#include "Catalogue.h"
#include "DisplayOptions.h"
#include "PanelRenderer.h"
#include "ReaderPorts.h"
#include "WordIndex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace varnet {

struct ScreenSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A window's outer bounds, frame included.
struct WindowBounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const WindowBounds&) const = default;
};

// The smallest outer size of the main window; stored bounds below it are
// raised to it.
inline constexpr std::int32_t kMinimumWindowWidth = 400;
inline constexpr std::int32_t kMinimumWindowHeight = 450;

class ReaderWindow : public PanelControls,
                     public OptionWidgets,
                     public BookmarkWindow,
                     public CatalogueWindow {
public:
    // The Find dialog's options: an empty find text, down, no match case
    // until the dialog is first made.
    virtual FindDialog& findOptions() = 0;

    // The primary screen's size.
    virtual ScreenSize screenSize() const = 0;
    // Puts the window at stored bounds, brought back onto a screen when they
    // would put it off every screen; false when they had to be moved.
    virtual bool placeWindow(const WindowBounds& stored) = 0;
    // The bounds the window comes back to from maximised or full screen (its
    // bounds when it is neither).
    virtual WindowBounds normalBounds() const = 0;

    // The option widgets set from the settings; each runs its handler when
    // its state changes, as a click would.
    virtual void setTwoColorChecked(bool checked) = 0;
    virtual void setSingleShadeChecked(bool checked) = 0;
    virtual void setTwoColumnsChecked(bool checked) = 0;
    // -1 selects no item.
    virtual void setSchemeSelection(int index) = 0;
    // The settings are applied: the Exit button and the Bookmarks menu show.
    virtual void settingsLoaded() = 0;

    // The name the desktop lists the program under.
    virtual void setApplicationTitle(const std::string& title) = 0;
    // The contents tree, emptied and filled with these nodes.
    virtual void showCatalogue(const std::vector<CatalogueNode>& nodes) = 0;
    // Expands the node at an absolute index and selects it.
    virtual void expandAndSelectNode(std::int32_t index) = 0;
    // The index page shows its tree, filled with these nodes, in place of
    // the "Load Index" panel.
    virtual void showIndexTree(const std::vector<IndexNode>& nodes) = 0;
};

}  // namespace varnet
