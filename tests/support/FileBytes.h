// Whole files as bytes, for tests that set up a side file byte for byte and
// read back exactly what was written (no line-end translation).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace varnet::testing {

// Writes the file, making its folder first when there is none.
inline void put(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream(path, std::ios::binary) << bytes;
}

// The file's bytes; empty when it cannot be read.
inline std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace varnet::testing
