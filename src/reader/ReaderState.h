// The one record of everything the reader's operations share. The program
// holds exactly one for its whole run; operations read and assign its fields
// directly and keep no reading state of their own between events.
#pragma once

#include "Colour.h"
#include "LineList.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace varnet {

// One row of colours per band; index 0 is the band's background, index 3
// its default text colour, index d-1 the colour of the colour tag with digit d.
using SchemeRow = std::array<Colour, 9>;

struct ReaderState {
    // Texts and lists. A list that has not been created yet is empty-optional;
    // an operation that creates one replaces what the field held before.
    std::optional<LineList> CurrentText;
    std::optional<LineList> DemoText;
    std::optional<LineList> CatalogueLines;
    std::optional<LineList> BookmarkLines;
    std::optional<LineList> IndexLines;
    // Handles of the bookmark popup's items, slot k for the k-th listed
    // bookmark; the window layer owns the items themselves.
    std::array<std::intptr_t, 101> BookmarkItems{};

    // Reading position and drawing.
    std::int32_t TopLine = 0;
    std::int32_t NextLine = 0;
    std::int32_t Band = 0;
    std::array<SchemeRow, 2> SchemeColours{};  // all black until a scheme is applied
    std::int32_t FontSize = 0;
    std::int32_t LineHeight = 0;
    std::int32_t ColumnWidth = 0;
    std::int32_t PanelHeight = 0;
    std::string ImagePath;
    bool ReadingMoved = false;

    // The book being read.
    std::string OpenFileName;
    std::string BookKey;
    std::string TargetKey;
    std::string AnchorKey;
    std::string BookTitle;
    std::int32_t CatalogueRow = 0;
    bool TreeToggled = false;

    // Files and folders.
    std::string BookFolder;
    std::string BaseName;
    std::string SettingsPath;
    std::string BookmarkPath;
    std::string TocPath;
    std::string IndexPath;

    // Navigation helpers.
    std::string LastIndexEntry;
    std::int32_t BookmarkSection = 0;
    std::int32_t BookmarkSectionEnd = 0;
    std::int32_t SearchStart = 0;
    std::int32_t SearchFound = 0;
};

}  // namespace varnet
