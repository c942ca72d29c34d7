#include "FileLocations.h"

#include "SettingsFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

namespace varnet {

namespace {

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Creates one folder; one that is there already is fine.
bool makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0) return true;
    if (errno != EEXIST) return false;
    if (isFolder(path)) return true;
    errno = ENOTDIR;
    return false;
}

}  // namespace

std::string bookFolderFrom(std::string_view programPath) {
    const auto slash = programPath.rfind('/');
    if (slash == std::string_view::npos) return {};
    return std::string(programPath.substr(0, slash + 1));
}

std::string baseNameFrom(std::string_view programPath) {
    const auto slash = programPath.rfind('/');
    std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    std::string base(name);
    for (char& c : base)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return base;
}

FileResult applyDataFolderRule(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) return {};
    if (errno != ENOENT) return FileResult::failure(std::generic_category().message(errno));

    // Create each missing folder from the top down, like mkdir -p.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (path[slash - 1] == '/') continue;
        if (!makeFolder(path.substr(0, slash)))
            return FileResult::failure(std::generic_category().message(errno));
    }
    if (!makeFolder(path)) return FileResult::failure(std::generic_category().message(errno));
    return {};
}

ResolveResult ResolveFilePaths(ReaderState& state, const std::string& dataFolder, std::int32_t screenWidth,
                               std::int32_t screenHeight) {
    state.SettingsPath = dataFolder + "/" + state.BaseName + kSettingsExtension;
    state.BookmarkPath = dataFolder + "/" + state.BaseName + kBookmarkExtension;
    state.TocPath = state.BookFolder + state.BaseName + kTocExtension;
    state.IndexPath = state.BookFolder + state.BaseName + kIndexExtension;

    ResolveResult result;
    result.indexTabVisible = fileExists(state.IndexPath);
    if (!result.indexTabVisible) state.IndexPath.clear();

    if (!fileExists(state.SettingsPath)) {
        const FileResult written =
            writeDefaultSettingsFile(state.SettingsPath, screenWidth, screenHeight, state.TocPath);
        if (!written) {
            result.ok = false;
            result.error = written.error;
        }
    }
    return result;
}

}  // namespace varnet
