// A fresh folder per test under the system's temporary folder, removed with
// everything in it afterwards. It also clears any write failure a test made
// the atomic writer simulate.
#pragma once

#include "AtomicFile.h"

#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>

namespace varnet::testing {

// How many entries a folder holds; 0 when it cannot be read (or is missing).
inline std::size_t entriesIn(const std::filesystem::path& folder) {
    std::error_code ec;
    std::size_t n = 0;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) ++n;
    return n;
}

struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        static int serial = 0;
        path = std::filesystem::temp_directory_path() /
               ("varnet-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        AtomicFile::setFailureHook({});
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    std::size_t entries() const { return entriesIn(path); }
};

}  // namespace varnet::testing
