#include "SettingsFile.h"

#include "IniFile.h"
#include "StorageTexts.h"

#include <array>
#include <utility>
#include <vector>

namespace varnet {

namespace {

std::string keyLine(const char* key, std::int32_t value) {
    return std::string(key) + "=" + std::to_string(value);
}

}  // namespace

void WriteDefaultSettings(LineList& list, std::int32_t screenWidth, std::int32_t screenHeight,
                          const std::string& tocPath) {
    namespace k = settings_key;
    list.add("[" + tocPath + "]");
    list.add(std::string("[") + kSettingsSection + "]");
    list.add(keyLine(k::dictionary, 0));
    list.add(keyLine(k::fontsize, 15));
    list.add(keyLine(k::background, 0));
    list.add(keyLine(k::plainbkg, 0));
    list.add(keyLine(k::twocolor, 0));
    list.add(keyLine(k::twocolumn, 0));

    struct Bounds {
        std::int32_t twidth, theight, pleft, pwidth, pheight;
    };
    const Bounds b = screenWidth == 640   ? Bounds{500, 440, 501, 130, 200}
                     : screenWidth == 800 ? Bounds{600, 500, 601, 190, 250}
                                          : Bounds{700, screenHeight - 100, 701, 300, 400};
    list.add(keyLine(k::tleft, 0));
    list.add(keyLine(k::twidth, b.twidth));
    list.add(keyLine(k::ttop, 0));
    list.add(keyLine(k::theight, b.theight));
    list.add(keyLine(k::pleft, b.pleft));
    list.add(keyLine(k::pwidth, b.pwidth));
    list.add(keyLine(k::ptop, 0));
    list.add(keyLine(k::pheight, b.pheight));
    list.add("");
}

FileResult writeDefaultSettingsFile(const std::string& path, std::int32_t screenWidth,
                                    std::int32_t screenHeight, const std::string& tocPath) {
    LineList list;
    WriteDefaultSettings(list, screenWidth, screenHeight, tocPath);
    if (!AtomicFile::write(path, list.toBytes())) return FileResult::failure(kCannotCreateFile + path);
    return {};
}

SettingsValues readSettingsValues(std::string_view bytes) {
    namespace k = settings_key;
    SettingsValues v;
    auto read = [&](const char* key, std::int32_t& field) {
        field = IniFile::readInteger(bytes, kSettingsSection, key, field);
    };
    read(k::fontsize, v.fontsize);
    read(k::tleft, v.tleft);
    read(k::ttop, v.ttop);
    read(k::theight, v.theight);
    read(k::twidth, v.twidth);
    read(k::twocolor, v.twocolor);
    read(k::plainbkg, v.plainbkg);
    read(k::twocolumn, v.twocolumn);
    read(k::background, v.background);
    return v;
}

SettingsValues readSettingsValuesFromFile(const std::string& path) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) return {};
    return readSettingsValues(bytes);
}

FileResult writeWindowSettings(const std::string& path, const WindowSettings& window,
                               std::int32_t screenWidth, std::int32_t screenHeight, bool storedBoundsBad) {
    namespace k = settings_key;
    // A window as wide or as high as the screen keeps the bounds stored
    // before, unless those were unusable; its options are written all the
    // same, so that nothing the reader chose is lost.
    const bool boundsKept =
        !storedBoundsBad && (window.twidth == screenWidth || window.theight == screenHeight);
    std::vector<std::pair<const char*, std::int32_t>> keys;
    keys.emplace_back(k::background, window.background);
    if (!boundsKept) {
        keys.emplace_back(k::tleft, window.tleft);
        keys.emplace_back(k::ttop, window.ttop);
        keys.emplace_back(k::theight, window.theight);
        keys.emplace_back(k::twidth, window.twidth);
    }
    keys.emplace_back(k::fontsize, window.fontsize);
    keys.emplace_back(k::plainbkg, window.plainbkg ? 1 : 0);
    keys.emplace_back(k::twocolor, window.twocolor ? 1 : 0);
    // All keys go into the file in one replacement, so a crash while closing
    // never leaves some of them written and others not.
    std::string error;
    if (!IniFile::writeIntegersToFile(path, kSettingsSection, keys, error)) return FileResult::failure(error);
    return {};
}

}  // namespace varnet
