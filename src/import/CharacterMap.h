// The reader shows 8-bit Latin-1 text; books come in UTF-8, UTF-16 or the
// Windows code page. These turn a book's characters into Latin-1: Latin-1
// characters kept, typographic punctuation and ligatures in their plain
// forms, other Latin letters transliterated by the C library's iconv, and
// anything else counted so that a book in a script the reader cannot show
// is refused.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace varnet::import {

class Transliterator;

class Latin1Mapper {
public:
    Latin1Mapper();
    ~Latin1Mapper();
    Latin1Mapper(Latin1Mapper&&) noexcept;
    Latin1Mapper& operator=(Latin1Mapper&&) noexcept;

    // Appends the Latin-1 form of one character. Line ends come as '\n';
    // other control characters are dropped, spaces of every width become
    // ' ', and a letter with no Latin-1 form becomes '?'. The result is the
    // same whatever the locale of the process or the thread.
    void put(char32_t c, std::string& out);
    // Appends printable ASCII (0x20..0x7E) as it is.
    void putAscii(std::string_view ascii, std::string& out);
    // Appends the Latin-1 form of UTF-8 text; a byte that does not start a
    // valid sequence is read as a Windows-1252 character.
    void putUtf8(std::string_view utf8, std::string& out);

    // Letters seen so far, and those among them with no Latin-1 form.
    std::size_t letters() const { return letters_; }
    std::size_t unmappable() const { return unmappable_; }
    // At most one letter in twenty has no Latin-1 form.
    bool showable() const { return unmappable_ * 20 <= letters_; }

private:
    std::size_t letters_ = 0;
    std::size_t unmappable_ = 0;
    char32_t last_ = 0;  // the last character put, for accents that follow their letter
    std::unique_ptr<Transliterator> translit_;  // made at the first character beyond Latin-1
};

// The text of a whole file in Latin-1 with '\n' line ends, or why it cannot
// be read as text.
struct DecodedText {
    std::string text;
    std::string error;  // a reason, empty on success
};

// Detects the encoding (a UTF-8 or UTF-16 byte-order mark, else valid UTF-8,
// else Windows-1252) and maps the text to Latin-1. Refuses an empty file, a
// file with NUL bytes and a text whose script cannot be shown.
DecodedText decodeText(std::string_view bytes);

// True when the bytes are valid UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// The character a Windows-1252 byte stands for.
char32_t fromWindows1252(unsigned char byte);

}  // namespace varnet::import
