// Integer keys of a settings file in the ini layout, read and written in
// place: a write changes only one value's digits (or adds one key line, or
// one section), so every other byte of the file stays as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace varnet {

// Layout understood: lines end at CR LF, CR or LF; a line "[" + name + "]"
// (blanks around it allowed) opens a section; a line key + "=" + value inside
// a section gives the key its value; a line starting with ";" is a comment.
// Section and key names match without regard to case (A to Z); the first
// matching section and, within it, the first matching key count.
class IniFile {
public:
    // The key's value when it is a whole 32-bit number, in decimal or with a
    // "0x" prefix in hexadecimal, blanks around it allowed, with an optional
    // sign; defaultValue when the section or the key is missing or the value
    // is anything else.
    static std::int32_t readInteger(std::string_view bytes, std::string_view section, std::string_view key,
                                    std::int32_t defaultValue);

    // The file's bytes with the key set to value, written in decimal. An
    // existing key keeps its place; a missing key goes after the last key
    // line of its section; a missing section is added at the end of the
    // file. Lines added end with CR LF.
    static std::string writeInteger(std::string_view bytes, std::string_view section, std::string_view key,
                                    std::int32_t value);

    // readInteger on the file at path; defaultValue when it cannot be read.
    static std::int32_t readIntegerFromFile(const std::string& path, std::string_view section,
                                            std::string_view key, std::int32_t defaultValue);

    // writeInteger on the file at path, replaced atomically; a missing file
    // is created. False with error = "Unable to write to " + path when the
    // file cannot be read or written; the old file is then untouched.
    static bool writeIntegerToFile(const std::string& path, std::string_view section, std::string_view key,
                                   std::int32_t value, std::string& error);

    // Several keys of one section, written in order as writeInteger would,
    // and the file replaced once: a crash or a failure leaves either the old
    // file or the one with every key written, never a part of them.
    static bool writeIntegersToFile(const std::string& path, std::string_view section,
                                    std::span<const std::pair<const char*, std::int32_t>> keys,
                                    std::string& error);
};

}  // namespace varnet
