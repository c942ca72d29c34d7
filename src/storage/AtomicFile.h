// Whole-file reads and atomic whole-file writes for the side files: a write
// either replaces the file with the new bytes or leaves the old file as it was.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varnet {

// Outcome of a file operation; error holds the system's description of the
// failure (such as "Permission denied") when ok is false.
struct FileResult {
    bool ok = true;
    std::string error;

    explicit operator bool() const { return ok; }
    static FileResult failure(std::string text) { return {false, std::move(text)}; }
};

class AtomicFile {
public:
    // Writes bytes to a new temporary file in the target's folder, flushes it
    // to disk and renames it over path. A symbolic link at path is replaced by
    // the new file, never written through. An existing regular file keeps its
    // permission bits; a new one gets 0644 (less the umask). On any failure
    // the temporary file is removed and the old file is untouched.
    static FileResult write(const std::string& path, std::string_view bytes);
    // The same for lines, each ended by CR LF, written a piece at a time.
    static FileResult writeLines(const std::string& path, const std::vector<std::string>& lines);

    // The steps of write, for tests that make one of them fail.
    enum class Step { create, write, sync, rename };
    // While set, the hook is asked before each step; returning true makes
    // that step fail as a full disk would (ENOSPC). An empty hook clears it.
    static void setFailureHook(std::function<bool(Step)> hook);

private:
    // The steps around writing the file's body, which writeBody does.
    static FileResult writeWith(const std::string& path, const std::function<bool(int)>& writeBody);
};

// Files larger than this are refused by readWholeFile: no side file of the
// reader comes near it, and a stray huge file must not exhaust memory.
inline constexpr std::size_t kMaxReadBytes = std::size_t{256} << 20;

// Reads a whole regular file (following symbolic links) into out. A folder,
// a device, a pipe or a file over kMaxReadBytes is refused. On failure out
// is left unchanged.
FileResult readWholeFile(const std::string& path, std::string& out);

// What readWholeFile refuses before reading (no file, no read permission, not
// a regular file, over kMaxReadBytes), found without reading the file.
FileResult canReadWholeFile(const std::string& path);

// A regular file (or a symbolic link to one) exists at path.
bool fileExists(const std::string& path);

}  // namespace varnet
