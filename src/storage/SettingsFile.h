// The settings file: its default text, the values read at start-up and the
// window values written at close. All keys live in the section "how".
#pragma once

#include "AtomicFile.h"
#include "LineList.h"

#include <cstdint>
#include <string>

namespace varnet {

inline constexpr const char* kSettingsSection = "how";

namespace settings_key {
inline constexpr const char* dictionary = "dictionary";
inline constexpr const char* fontsize = "fontsize";
inline constexpr const char* background = "background";
inline constexpr const char* plainbkg = "plainbkg";
inline constexpr const char* twocolor = "twocolor";
inline constexpr const char* twocolumn = "twocolumn";
inline constexpr const char* tleft = "tleft";
inline constexpr const char* twidth = "twidth";
inline constexpr const char* ttop = "ttop";
inline constexpr const char* theight = "theight";
inline constexpr const char* pleft = "pleft";
inline constexpr const char* pwidth = "pwidth";
inline constexpr const char* ptop = "ptop";
inline constexpr const char* pheight = "pheight";
}  // namespace settings_key

// Appends the seventeen lines of a fresh settings file: an empty section
// named after tocPath, then the section "how" with values fitted to the
// screen (its width selects a column; for widths other than 640 and 800 the
// height sets theight), then an empty line.
void WriteDefaultSettings(LineList& list, std::int32_t screenWidth, std::int32_t screenHeight,
                          const std::string& tocPath);

// Writes the default text as the whole file at path, atomically. A failure
// carries "Cannot create file " + path.
FileResult writeDefaultSettingsFile(const std::string& path, std::int32_t screenWidth,
                                    std::int32_t screenHeight, const std::string& tocPath);

// What start-up reads, each with its default for a missing key or a value
// that is not a number. The window applies them in the order of the fields
// (fontsize to the contents tree first and to the track bar again later).
struct SettingsValues {
    std::int32_t fontsize = 15;
    std::int32_t tleft = 100;
    std::int32_t ttop = 0;
    std::int32_t theight = 440;
    std::int32_t twidth = 500;
    std::int32_t twocolor = 0;
    std::int32_t plainbkg = 0;
    std::int32_t twocolumn = 0;
    std::int32_t background = 1;
};

SettingsValues readSettingsValues(std::string_view bytes);
// All defaults when the file is missing or cannot be read.
SettingsValues readSettingsValuesFromFile(const std::string& path);

// The values the window hands over when it closes.
struct WindowSettings {
    std::int32_t background = 0;  // selection of the colour radio group, -1 for none
    std::int32_t tleft = 0;
    std::int32_t ttop = 0;
    std::int32_t theight = 0;
    std::int32_t twidth = 0;
    std::int32_t fontsize = 0;  // position of the font-size track bar
    bool plainbkg = false;
    bool twocolor = false;
};

// Writes the window's values (background, tleft, ttop, theight, twidth,
// fontsize, plainbkg, twocolor, in that order, each kept in its place or
// appended to its section) in one replacement of the file. When the window
// is exactly as wide or exactly as high as the screen, the four bounds keep
// their stored values and only the options are written, unless the stored
// bounds are known to be unusable (off every screen). A failure writes
// nothing and carries "Unable to write to " + path.
FileResult writeWindowSettings(const std::string& path, const WindowSettings& window,
                               std::int32_t screenWidth, std::int32_t screenHeight,
                               bool storedBoundsBad = false);

}  // namespace varnet
