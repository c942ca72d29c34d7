// Every text of the window layer that a user sees: captions, menu items, the
// About page, the notices. Literals are UTF-8; the code turns them into
// QString with QString::fromUtf8.
#pragma once

#include "Catalogue.h"

#include <array>

namespace varnet::ui {

// Names of the program.
inline constexpr const char* kUsage =
    "Usage: varnet [BOOK | TEXT]\n"
    "       varnet --help | --version\n"
    "\n"
    "Reads texts in the cascading layout, one panel at a time. BOOK is a book\n"
    "of your own (.txt, .md or .epub): it is laid out, kept in My Books and\n"
    "opened, or opened when My Books holds it already. Any other TEXT names a\n"
    "built-in text to open at start-up (fable.qtx is the demo book); further\n"
    "arguments are ignored.\n"
    "\n"
    "  --help     print this and end\n"
    "  --version  print the version and end\n";
inline constexpr const char* kApplicationTitle = "Mirrowen";  // listed by the desktop, message box caption
// The caption the catalogue sets when no book is chosen.
inline constexpr const char* kWindowCaption = varnet::kCaption;

// Faces the window definition names; fontconfig maps them to installed faces.
inline constexpr const char* kWindowFace = "MS Sans Serif";

// Menus.
inline constexpr const char* kFileMenu = "File";
inline constexpr const char* kOpenQTXItem = "Open File";
inline constexpr const char* kOpenTOCItem = "Open Stilo\u00AE Table of Contents";
inline constexpr const char* kSaveScreenItem = "Save Screen as Text File";
inline constexpr const char* kImportBookItem = "Import Book...";
inline constexpr const char* kRemoveBookItem = "Remove From My Books";
inline constexpr const char* kExitItem = "Exit";
inline constexpr const char* kSearchMenu = "Search";
inline constexpr const char* kFindItem = "Find";
inline constexpr const char* kBMMenu = "Bookmarks";
inline constexpr const char* kBMAddItem = "Add Bookmark";
inline constexpr const char* kBMDeleteItem = "Delete Bookmark";
inline constexpr const char* kBMGOItem = "Goto...";
inline constexpr const char* kViewMenu = "View";
inline constexpr const char* kHideControlPanelItem = "Hide Control Panel";
inline constexpr const char* kShowControlPanelItem = "Show Control Panel";
// Items that carry keyboard accelerators of their own.
inline constexpr const char* kFindNextItem = "Find Next";
inline constexpr const char* kFindPreviousItem = "Find Previous";
inline constexpr const char* kFullScreenItem = "Full Screen";
inline constexpr const char* kLargerTextItem = "Larger Text";
inline constexpr const char* kSmallerTextItem = "Smaller Text";
// Accessible names of widgets that show no caption of their own.
inline constexpr const char* kFontSizeName = "Font Size";
inline constexpr const char* kPathLabelName = "Side File";
inline constexpr const char* kLogoName = "Logo";
inline constexpr const char* kHempMenu = "Help";
inline constexpr const char* kAboutItem = "About";
inline constexpr const char* kHelpContentsItem = "Contents";
inline constexpr const char* kBookmarkPopupItem = "00";

// Pages.
inline constexpr const char* kTOCTabSheet = "Table Of Contents";
inline constexpr const char* kReadTabSheet = "Reading";
inline constexpr const char* kAboutTabSheet = "About";
inline constexpr const char* kControlsTabSheet = "Control";
inline constexpr const char* kOptionsTabSheet = "Options";
inline constexpr const char* kIndexTabSheet = "Index";

// The Control page.
inline constexpr const char* kReadingPositionLabel = "Reading Position";
inline constexpr const char* kFontSizeLabelAtStart = "FontSize = 15";
inline constexpr const char* kPrevButton = "Prev";
inline constexpr const char* kNextButton = "Next";
inline constexpr const char* kExitButton = "Exit";

// The Options page.
inline constexpr const char* kBGColorRadioGroup = "Background Color";
inline constexpr std::array<const char*, 3> kBGColorItems = {"Light Colored", "Dark Colored", "Windows"};
inline constexpr const char* kSingleShadeBgCheckBox = "1 Color Background ";  // ends in a blank
inline constexpr const char* kTwoColorCheckBox = "No Colored Text";
inline constexpr const char* kTwoColCheckBox = "2 Column Display";
inline constexpr const char* kResetToStartupDefaultsButton = "Reset To Startup Defaults";

// The Index page.
inline constexpr const char* kFindingEntryLabel = "Finding Entry";
inline constexpr const char* kSearchingIndexLabel = "Searching Index";
inline constexpr const char* kIndexLoadButton = "Load Index";
inline constexpr const char* kLoadingIndexLabel = "Loading Index";
inline constexpr std::array<const char*, 10> kIndexInstructions = {
    "Click \"Load Index\" to load", "and setup the index, this",
    "may take a short while.",      "",
    "After the index is loaded",    "click on the \"+\"'s to select",
    "the word, and to see the ",    "index entries.  Clicking on ",
    "an index entry will go to",    "that line in the book.",
};

// The About page.
inline constexpr const char* kOKButton = "OK";
inline constexpr const char* kDemoVerLabel = "Demo Version";
inline constexpr const char* kBookTitleSeparator = ", by ";
inline constexpr const char* kBuyMemoAtStart = "BuyMemo";
inline constexpr const char* kOrderingNotice =
    "The Stilo Library disc holds many more cascading books: ordering details at https://quorra.example.com";
// The version line is completed with the program's version number.
inline constexpr const char* kVersionPrefix = "Version ";
inline constexpr std::array<const char*, 17> kAboutLines = {
    "Varnet\u2122",
    "Stilo\u00AE cascading text",
    "",
    "Varnet is a trademark of",
    "Quorra Reading Systems.",
    "Stilo is a registered trademark",
    "of Quorra Reading Systems.",
    "Copying the program or its texts",
    "without permission is forbidden.",
    "",
    "Quorra Reading Systems",
    "14 Lantern Row",
    "Harrowgate",
    "https://quorra.example.com",
    "\u00A9 2026, all rights reserved.",
    nullptr,  // the version line
    "Demo build: one book included",
};
inline constexpr int kAboutVersionLine = 15;

// The Help menu's notice; one carriage return between its two parts.
inline constexpr const char* kReadmeNotice =
    "The complete Readme/Help file is at:\r"
    "https://quorra.example.com/varnet/readme.htm";

}  // namespace varnet::ui
