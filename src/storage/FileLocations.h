// Where the side files live: the program's own folder and base name, the
// per-user data folder, and the four side-file paths derived from them.
#pragma once

#include "AtomicFile.h"
#include "BookFiles.h"
#include "ReaderState.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace varnet {

inline constexpr const char* kDataFolderName = "Quorra";
inline constexpr const char* kSettingsExtension = ".ini";
inline constexpr const char* kBookmarkExtension = ".bm";
inline constexpr const char* kTocExtension = ".toc";

// The folder of the program file with its trailing "/", case kept; empty
// for a bare file name.
std::string bookFolderFrom(std::string_view programPath);

// The program file's own name cut before its first ".", lower-cased (A to
// Z only): "/usr/lib/varnet/varnet" gives "varnet", "Reader.Bin.x" "reader".
std::string baseNameFrom(std::string_view programPath);

// When nothing exists at path, creates the folder, with any missing parents
// (mode 0700, as the per-user data folders are). When anything exists there,
// folder or not, does nothing. A failure carries the system's description,
// such as "Permission denied" or "Not a directory".
FileResult applyDataFolderRule(const std::string& path);

struct ResolveResult {
    bool ok = true;
    std::string error;             // "Cannot create file " + SettingsPath on failure
    bool indexTabVisible = false;  // a word-index file exists at IndexPath
};

// Sets SettingsPath and BookmarkPath (in dataFolder), TocPath and IndexPath
// (in BookFolder) from BookFolder and BaseName; IndexPath is emptied when no
// file stands there. Writes the default settings text for the screen's size
// when no settings file exists; an existing one is left untouched.
ResolveResult ResolveFilePaths(ReaderState& state, const std::string& dataFolder, std::int32_t screenWidth,
                               std::int32_t screenHeight);

}  // namespace varnet
