#include "TextFileStore.h"

#include "AtomicFile.h"

namespace varnet {

namespace {

class DiskFileStore final : public TextFileStore {
public:
    bool exists(const std::string& path) const override { return fileExists(path); }
    bool load(const std::string& path, LineList& lines) const override {
        std::string bytes;
        if (!readWholeFile(path, bytes)) return false;
        lines = LineList::fromBytes(bytes);
        return true;
    }
    bool readable(const std::string& path) const override {
        return static_cast<bool>(canReadWholeFile(path));
    }
    bool save(const std::string& path, const LineList& lines) override {
        return static_cast<bool>(AtomicFile::write(path, lines.toBytes()));
    }
};

}  // namespace

TextFileStore& diskFileStore() {
    static DiskFileStore store;
    return store;
}

}  // namespace varnet
