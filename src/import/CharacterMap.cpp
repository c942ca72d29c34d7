#include "CharacterMap.h"

#include "ImportReasons.h"

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cstring>
#include <unordered_map>

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

// The locale iconv's transliteration and the character classes are read
// in. glibc transliterates by the LC_CTYPE locale of the calling thread (in
// the plain C locale l with stroke has no plain form and Cyrillic letters
// are spelt in Latin ones), so one fixed locale keeps the result the same
// whatever the user's environment. Made once, never freed; null when not
// even the C locale can be made, and then the thread's own is used.
struct FixedLocale {
    locale_t locale = nullptr;
    bool unicode = false;  // C.UTF-8: full character classes and transliterations
};

const FixedLocale& fixedLocale() {
    static const FixedLocale fixed = [] {
        FixedLocale f;
        f.locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        f.unicode = f.locale != nullptr;
        if (!f.unicode) f.locale = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
        return f;
    }();
    return fixed;
}

// Makes the fixed locale the calling thread's for the guard's lifetime and
// gives the thread back the one it had.
class LocaleGuard {
public:
    LocaleGuard() : previous_(fixedLocale().locale ? uselocale(fixedLocale().locale) : nullptr) {}
    ~LocaleGuard() {
        if (previous_) uselocale(previous_);
    }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

private:
    locale_t previous_;
};

// Letters of scripts other than Latin (Greek, Cyrillic, Hebrew, Arabic, the
// Indic scripts, CJK, Hangul...), by block. Only used when C.UTF-8 is
// missing: the C locale then knows no letters beyond ASCII and spells some
// of these scripts in Latin letters, yet their books are still refused.
bool isOtherScriptLetter(char32_t c) {
    return (c >= 0x0370 && c <= 0x1DBF) || (c >= 0x1F00 && c <= 0x1FFF) || (c >= 0x2C00 && c <= 0x2DFF) ||
           (c >= 0x2E80 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFB13 && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFC) || (c >= 0xFF21 && c <= 0xFFDC) || (c >= 0x10000 && c <= 0x1EFFF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// The Latin letter blocks beyond Latin-1 (Extended-A and -B, Extended
// Additional, the ligatures), for the same case.
bool isLatinBlockLetter(char32_t c) {
    return (c >= 0x0100 && c <= 0x024F) || (c >= 0x1E00 && c <= 0x1EFF) || (c >= 0xFB00 && c <= 0xFB06);
}

// Appends c (at most 0x10FFFF, not a surrogate) as UTF-8.
void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isLatin1Letter(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= 0xC0 && b != 0xD7 && b != 0xF7) ||
           b == 0xAA || b == 0xB5 || b == 0xBA;
}

// Appends a Latin-1 character as the reader shows it: control characters
// (C0, DEL, C1) and the soft hyphen dropped, the no-break space (which
// iconv gives for the narrow one) as ' '. True when it appended a letter.
bool appendLatin1(unsigned char b, std::string& out) {
    if (b < 0x20 || (b >= 0x7F && b < 0xA0) || b == 0xAD) return false;
    out += b == 0xA0 ? ' ' : static_cast<char>(b);
    return isLatin1Letter(b);
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

// The Latin-1 forms iconv gives the characters beyond Latin-1, each asked
// once and kept. One per mapper: an iconv descriptor is not shared between
// threads.
class Transliterator {
public:
    struct Form {
        std::string text;  // what the reader shows: "?" for a letter with no form
        bool letter = false;
        bool unmappable = false;
    };

    Transliterator() {
        const LocaleGuard fixed;
        iconv_ = iconv_open("ISO-8859-1//TRANSLIT", "UTF-8");
    }
    ~Transliterator() {
        if (iconv_ != kNoIconv) iconv_close(iconv_);
    }
    Transliterator(const Transliterator&) = delete;
    Transliterator& operator=(const Transliterator&) = delete;

    const Form& form(char32_t c) {
        auto it = forms_.find(c);
        if (it == forms_.end()) it = forms_.emplace(c, convert(c)).first;
        return it->second;
    }

private:
    static inline const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

    Form convert(char32_t c) {
        const LocaleGuard guard;
        const FixedLocale& fixed = fixedLocale();
        Form f;
        f.letter = fixed.unicode ? iswalpha_l(static_cast<wint_t>(c), fixed.locale) != 0
                                 : isLatinBlockLetter(c) || isOtherScriptLetter(c);
        // Spaces of every width are one space (iconv leaves some of them out).
        if (fixed.unicode && iswspace_l(static_cast<wint_t>(c), fixed.locale)) {
            f.text = " ";
            return f;
        }
        std::string in;
        appendUtf8(c, in);
        char buffer[64];
        char* from = in.data();
        std::size_t fromLeft = in.size();
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        // Without C.UTF-8 the C locale would spell Cyrillic or Greek in Latin
        // letters: those scripts stay unmappable as they are with it.
        bool converted = iconv_ != kNoIconv && (fixed.unicode || !isOtherScriptLetter(c));
        if (converted) {
            iconv(iconv_, nullptr, nullptr, nullptr, nullptr);
            converted = iconv(iconv_, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1) &&
                        iconv(iconv_, nullptr, nullptr, &to, &toLeft) != static_cast<std::size_t>(-1);
        }
        // iconv writes '?' for a character it has no form for; c, beyond
        // Latin-1, is never '?' itself.
        const std::string_view plain(buffer, static_cast<std::size_t>(to - buffer));
        if (!converted || plain == "?") {
            f.unmappable = true;
            if (f.letter) f.text = "?";
            return f;
        }
        for (const char b : plain) appendLatin1(static_cast<unsigned char>(b), f.text);
        // A sign that shows nothing (a vowel mark of another script, which
        // counts as a letter) is left out of the share of letters.
        if (f.text.empty()) f.letter = false;
        return f;
    }

    iconv_t iconv_ = kNoIconv;
    std::unordered_map<char32_t, Form> forms_;
};

Latin1Mapper::Latin1Mapper() = default;
Latin1Mapper::~Latin1Mapper() = default;
Latin1Mapper::Latin1Mapper(Latin1Mapper&&) noexcept = default;
Latin1Mapper& Latin1Mapper::operator=(Latin1Mapper&&) noexcept = default;

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
        if (appendLatin1(static_cast<unsigned char>(c), out)) ++letters_;
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
    if (c == 0x2028 || c == 0x2029) {  // the line and paragraph separators
        out += '\n';
        return;
    }
    if (!translit_) translit_ = std::make_unique<Transliterator>();
    const Transliterator::Form& form = translit_->form(c);
    out += form.text;
    if (form.letter) ++letters_;
    if (form.letter && form.unmappable) ++unmappable_;
    // Anything else with no form (arrows, emoji, private use) shows nothing.
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
