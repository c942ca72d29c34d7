// Whole-file access to the line lists the reader keeps on disk (the bookmark
// file, the seeded bookmark file). Tests use an in-memory store.
#pragma once

#include "LineList.h"

#include <string>

namespace varnet {

class TextFileStore {
public:
    virtual ~TextFileStore() = default;
    // A regular file exists at the path.
    virtual bool exists(const std::string& path) const = 0;
    // Reads the whole file into lines; false when it cannot be read.
    virtual bool load(const std::string& path, LineList& lines) const = 0;
    // The file can be read whole (checked without reading it).
    virtual bool readable(const std::string& path) const = 0;
    // Replaces the whole file, each line ended by CR LF, atomically; false
    // when it cannot be written, with the old file left as it was.
    virtual bool save(const std::string& path, const LineList& lines) = 0;
};

// The real file system.
TextFileStore& diskFileStore();

}  // namespace varnet
