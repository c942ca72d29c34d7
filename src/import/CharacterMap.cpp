#include "CharacterMap.h"

#include "ImportReasons.h"
#include "LatinLetters.h"

#include <cstring>

namespace varnet::import {

namespace {

// Windows-1252's characters for 0x80..0x9F; 0 where the code page has none
// (those bytes are then control characters and dropped).
constexpr char16_t kWindows1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                           0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// An accent that follows its letter, and the Latin-1 letters it makes of
// the plain letters it can go on.
struct Accent {
    char32_t mark;
    const char* plain;
    const char* accented;
};
constexpr Accent kAccents[] = {
    {0x0300, "AEIOUaeiou", "\300\310\314\322\331\340\350\354\362\371"},
    {0x0301, "AEIOUYaeiouy", "\301\311\315\323\332\335\341\351\355\363\372\375"},
    {0x0302, "AEIOUaeiou", "\302\312\316\324\333\342\352\356\364\373"},
    {0x0303, "ANOano", "\303\321\325\343\361\365"},
    {0x0308, "AEIOUaeiouy", "\304\313\317\326\334\344\353\357\366\374\377"},
    {0x030A, "Aa", "\305\345"},
    {0x0327, "Cc", "\307\347"},
};

// Punctuation, symbols and ligatures beyond Latin-1 in their plain forms.
const char* plainForm(char32_t c) {
    switch (c) {
        case 0x2018:
        case 0x2019:
        case 0x201A:
        case 0x201B:
        case 0x2032:
        case 0x2035:
        case 0x02BC:
        case 0x02B9:
            return "'";
        case 0x201C:
        case 0x201D:
        case 0x201E:
        case 0x201F:
        case 0x2033:
        case 0x2036:
            return "\"";
        case 0x2010:
        case 0x2011:
        case 0x2012:
        case 0x2013:
        case 0x2212:
        case 0xFE63:
        case 0xFF0D:
            return "-";
        case 0x2014:
        case 0x2015:
        case 0x2E3A:
            return "--";
        case 0x2E3B:
            return "---";
        case 0x2026:
            return "...";
        case 0x2022:
        case 0x2023:
        case 0x2043:
        case 0x25E6:
            return "*";
        case 0x2039:
            return "<";
        case 0x203A:
            return ">";
        case 0x2020:
            return "+";
        case 0x2021:
            return "++";
        case 0x2030:
            return "o/oo";
        case 0x20AC:
            return "EUR";
        case 0x2122:
            return "(TM)";
        case 0x02C6:
            return "^";
        case 0x02DC:
            return "~";
        case 0x2044:
            return "/";
        case 0xFB00:
            return "ff";
        case 0xFB01:
            return "fi";
        case 0xFB02:
            return "fl";
        case 0xFB03:
            return "ffi";
        case 0xFB04:
            return "ffl";
        case 0xFB05:
        case 0xFB06:
            return "st";
        default:
            return nullptr;
    }
}

bool isSpace(char32_t c) {
    return c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000 ||
           c == 0x1680;
}

// Characters that show nothing: zero-width spaces and joiners, direction
// marks, the byte-order mark, the soft hyphen, variation selectors.
bool isInvisible(char32_t c) {
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
           c == 0xFEFF || c == 0xAD || c == 0x034F || c == 0x061C || (c >= 0xFE00 && c <= 0xFE0F);
}

// Ranges of letters of scripts other than Latin (Greek, Cyrillic, Hebrew,
// Arabic, the Indic scripts, CJK, Hangul...): the reader cannot show them.
bool isOtherScriptLetter(char32_t c) {
    return (c >= 0x0370 && c <= 0x1DBF) || (c >= 0x1F00 && c <= 0x1FFF) || (c >= 0x2C00 && c <= 0x2DFF) ||
           (c >= 0x2E80 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFB13 && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFC) || (c >= 0xFF21 && c <= 0xFFDC) || (c >= 0x10000 && c <= 0x1EFFF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

bool isLatin1Letter(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= 0xC0 && b != 0xD7 && b != 0xF7) ||
           b == 0xAA || b == 0xB5 || b == 0xBA;
}

// Decodes one UTF-8 sequence at p (n bytes available): its length, or 0 when
// the bytes there are not a valid sequence.
std::size_t decodeUtf8(const unsigned char* p, std::size_t n, char32_t& c) {
    const unsigned char b = p[0];
    if (b < 0x80) {
        c = b;
        return 1;
    }
    std::size_t len;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, c = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, c = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, c = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (n < len) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

char32_t fromWindows1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        const char16_t c = kWindows1252High[byte - 0x80];
        return c != 0 ? c : byte;
    }
    return byte;
}

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t c;
        const std::size_t len = decodeUtf8(p + i, n - i, c);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

void Latin1Mapper::put(char32_t c, std::string& out) {
    const char32_t before = last_;
    last_ = c;
    if (c < 0x80) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') ++letters_;
        } else if (c == '\n' || c == '\r') {
            out += '\n';
        } else if (c == '\t') {
            out += ' ';
        }
        return;
    }
    if (c < 0x100) {
        if (c < 0xA0) return;  // C1 control characters
        if (c == 0xA0) {
            out += ' ';
        } else if (c != 0xAD) {
            out += static_cast<char>(c);
            if (isLatin1Letter(static_cast<unsigned char>(c))) ++letters_;
        }
        return;
    }
    if (c >= 0x0300 && c <= 0x036F) {
        // An accent after its letter: the accented Latin-1 letter where there
        // is one, else the letter alone.
        if (before < 0x80 && !out.empty() &&
            static_cast<char32_t>(static_cast<unsigned char>(out.back())) == before) {
            for (const Accent& a : kAccents) {
                if (a.mark != c) continue;
                if (const char* at = std::strchr(a.plain, static_cast<int>(before)); at && before != 0)
                    out.back() = a.accented[at - a.plain];
            }
        }
        last_ = 0;
        return;
    }
    if (const char* text = plainForm(c)) {
        out += text;
        return;
    }
    if (isSpace(c)) {
        out += ' ';
        return;
    }
    if (c == 0x2028 || c == 0x2029) {
        out += '\n';
        return;
    }
    if (isInvisible(c)) return;
    if (const char* text = latinLetterBase(c)) {
        out += text;
        ++letters_;
        return;
    }
    if (isOtherScriptLetter(c)) {
        out += '?';
        ++letters_;
        ++unmappable_;
    }
    // Anything else (arrows, emoji, private use) shows nothing.
}

void Latin1Mapper::putAscii(std::string_view ascii, std::string& out) {
    out += ascii;
    for (const char ch : ascii)
        if ((ch | 0x20) >= 'a' && (ch | 0x20) <= 'z') ++letters_;
    if (!ascii.empty()) last_ = static_cast<unsigned char>(ascii.back());
}

void Latin1Mapper::putUtf8(std::string_view utf8, std::string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        if (p[i] >= 0x20 && p[i] < 0x7F) {
            std::size_t j = i + 1;
            while (j < n && p[j] >= 0x20 && p[j] < 0x7F) ++j;
            putAscii(utf8.substr(i, j - i), out);
            i = j;
            continue;
        }
        char32_t c;
        std::size_t len = decodeUtf8(p + i, n - i, c);
        if (len == 0) {
            c = fromWindows1252(p[i]);
            len = 1;
        }
        put(c, out);
        i += len;
    }
}

DecodedText decodeText(std::string_view bytes) {
    DecodedText result;
    if (bytes.empty()) {
        result.error = reason::kEmpty;
        return result;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::string& out = result.text;
    out.reserve(n);
    Latin1Mapper mapper;
    // Ends every line with '\n': a CR LF pair or a lone CR becomes one.
    bool afterCr = false;
    auto emit = [&](char32_t c) {
        if (c == '\n' && afterCr) {
            afterCr = false;
            return;
        }
        afterCr = c == '\r';
        mapper.put(c, out);
    };

    if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        const bool little = p[0] == 0xFF;
        char32_t high = 0;  // a pending high surrogate
        for (std::size_t i = 2; i + 1 < n; i += 2) {
            const char32_t unit = little ? (p[i] | (p[i + 1] << 8)) : ((p[i] << 8) | p[i + 1]);
            if (unit == 0) {
                result = {{}, reason::kNotText};
                return result;
            }
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                high = unit;
                continue;
            }
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                if (high != 0) emit(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
                high = 0;
                continue;
            }
            high = 0;
            emit(unit);
        }
    } else {
        std::size_t i = 0;
        if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) i = 3;
        if (std::memchr(p, 0, n) != nullptr) {
            result.error = reason::kNotText;
            return result;
        }
        // A file that is not valid UTF-8 throughout is read as Windows-1252.
        const bool utf8 = isValidUtf8(bytes.substr(i));
        while (i < n) {
            const unsigned char b = p[i];
            if (b >= 0x20 && b < 0x7F) {
                // Plain ASCII, the bulk of most books, goes straight through.
                std::size_t j = i + 1;
                while (j < n && p[j] >= 0x20 && p[j] < 0x7F) ++j;
                mapper.putAscii(bytes.substr(i, j - i), out);
                afterCr = false;
                i = j;
                continue;
            }
            char32_t c = b;
            std::size_t len = 1;
            if (b >= 0x80) {
                if (utf8)
                    len = decodeUtf8(p + i, n - i, c);
                else
                    c = fromWindows1252(b);
            }
            emit(c);
            i += len;
        }
    }
    if (!mapper.showable()) result = {{}, reason::kScript};
    return result;
}

}  // namespace varnet::import
