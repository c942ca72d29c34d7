// An in-memory file store for the bookmark tests: files are byte strings,
// a write can be made to fail to stand for a full disk or a read-only
// folder, and a file can be made unreadable.
#pragma once

#include "TextFileStore.h"

#include <map>
#include <set>
#include <string>

namespace varnet::testing {

class MemoryFileStore : public TextFileStore {
public:
    bool exists(const std::string& path) const override { return files.count(path) != 0; }
    bool load(const std::string& path, LineList& lines) const override {
        const auto it = files.find(path);
        if (it == files.end() || unreadable.count(path) != 0) return false;
        lines = LineList::fromBytes(it->second);
        return true;
    }
    bool readable(const std::string& path) const override {
        return files.count(path) != 0 && unreadable.count(path) == 0;
    }
    bool save(const std::string& path, const LineList& lines) override {
        ++saves;
        if (failWrites) return false;
        files[path] = lines.toBytes();
        return true;
    }
    LineList linesOf(const std::string& path) const { return LineList::fromBytes(files.at(path)); }

    std::map<std::string, std::string> files;
    // Files that are there but cannot be read (permissions, over the limit).
    std::set<std::string> unreadable;
    bool failWrites = false;
    int saves = 0;
};

}  // namespace varnet::testing
