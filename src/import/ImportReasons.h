// The reasons an import gives for a file it cannot read, each following
// "Cannot import <path>: ".
#pragma once

namespace varnet::import::reason {

inline constexpr const char* kEmpty = "the file is empty";
inline constexpr const char* kNotText = "it is not a text file";
inline constexpr const char* kTooLarge = "it is larger than 64 MB";
inline constexpr const char* kUnreadable = "it cannot be read";
inline constexpr const char* kNotImportable = "it is not a text, Markdown or EPUB file";
inline constexpr const char* kScript = "its script cannot be shown in this reader";
inline constexpr const char* kNoText = "it has no text";
inline constexpr const char* kNotZip = "it is not a valid EPUB (not a zip archive)";
inline constexpr const char* kDamaged = "it is not a valid EPUB (a damaged archive)";
inline constexpr const char* kNoContainer = "it has no container";
inline constexpr const char* kNoContent = "it has no content";
inline constexpr const char* kDrm = "it is protected by DRM";
inline constexpr const char* kBomb = "its archive inflates beyond the allowed size";

}  // namespace varnet::import::reason
