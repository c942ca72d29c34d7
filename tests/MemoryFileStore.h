// An in-memory file store for the bookmark tests: files are byte strings,
// and a write can be made to fail to stand for a full disk or a read-only
// folder.
#pragma once

#include "TextFileStore.h"

#include <map>
#include <string>

namespace varnet::testing {

class MemoryFileStore : public TextFileStore {
public:
    bool exists(const std::string& path) const override { return files.count(path) != 0; }
    bool load(const std::string& path, LineList& lines) const override {
        const auto it = files.find(path);
        if (it == files.end()) return false;
        lines = LineList::fromBytes(it->second);
        return true;
    }
    bool save(const std::string& path, const LineList& lines) override {
        ++saves;
        if (failWrites) return false;
        files[path] = lines.toBytes();
        return true;
    }
    LineList linesOf(const std::string& path) const { return LineList::fromBytes(files.at(path)); }

    std::map<std::string, std::string> files;
    bool failWrites = false;
    int saves = 0;
};

}  // namespace varnet::testing
