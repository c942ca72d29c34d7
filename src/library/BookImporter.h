// From a file the reader chose to a laid-out book ready to keep: the import
// for its format, then the layout.
#pragma once

#include "DocumentLayout.h"

#include <optional>
#include <string>

namespace varnet {

struct ImportedText {
    layout::LaidOutText text;
    std::string title;
    std::string author;
};

struct ImportOutcome {
    std::optional<ImportedText> book;
    std::string error;  // one message naming the file and the reason
};

// True for a file name an import reads (by its extension).
bool isImportableFile(const std::string& path);

// Imports and lays out the file at `path`.
ImportOutcome importAndLayOut(const std::string& path);

}  // namespace varnet
