// The failure texts the side-file operations report; the window shows each
// one followed by a full stop.
#pragma once

namespace varnet {

// Followed by the path of a file written whole (settings default text,
// bookmark file) that could not be written.
inline constexpr const char* kCannotCreateFile = "Cannot create file ";
// Followed by the data folder's path, ": " and the system's reason, when the
// folder cannot be made at start-up.
inline constexpr const char* kCannotCreateFolder = "Cannot create folder ";
// Followed by the path of a side file that is there but cannot be read
// (permissions, over the read limit, a read error); such a file is never
// written over.
inline constexpr const char* kCannotReadFile = "Cannot read file ";
// Followed by the path of the settings file when one of its keys could not
// be written.
inline constexpr const char* kUnableToWriteTo = "Unable to write to ";

}  // namespace varnet
