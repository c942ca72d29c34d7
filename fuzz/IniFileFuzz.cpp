// The settings file's key reader and in-place writer on arbitrary bytes:
// a written value reads back, and no other key changes its value.
#include "FuzzCheck.h"
#include "IniFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace varnet;

namespace {

// A section or key name as the program uses them: letters, digits and
// blanks inside, one to twelve characters.
std::string nameFrom(FuzzedDataProvider& in) {
    static constexpr char kAlphabet[] = "abcAB01 xK";
    std::string name(1, kAlphabet[in.ConsumeIntegralInRange<std::size_t>(0, 5)]);
    const std::size_t more = in.ConsumeIntegralInRange<std::size_t>(0, 11);
    for (std::size_t k = 0; k < more; ++k) name += kAlphabet[in.ConsumeIntegralInRange<std::size_t>(0, 9)];
    while (name.back() == ' ') name.pop_back();
    return name;
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[k]) != lower(b[k])) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = nameFrom(in);
    const std::string key = nameFrom(in);
    const std::string otherSection = nameFrom(in);
    const std::string otherKey = nameFrom(in);
    const std::int32_t value = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t fallback = in.ConsumeIntegral<std::int32_t>();
    const std::string before = in.ConsumeRemainingBytesAsString();

    // Reading never fails, whatever the bytes.
    (void)IniFile::readInteger(before, section, key, fallback);

    const std::string after = IniFile::writeInteger(before, section, key, value);
    FUZZ_CHECK(IniFile::readInteger(after, section, key, fallback) == value);
    // Writing the same value again changes nothing.
    FUZZ_CHECK(IniFile::writeInteger(after, section, key, value) == after);

    auto unchanged = [&](const std::string& s, const std::string& k) {
        FUZZ_CHECK(IniFile::readInteger(after, s, k, fallback) ==
                   IniFile::readInteger(before, s, k, fallback));
    };
    if (!sameName(otherKey, key)) unchanged(section, otherKey);
    if (!sameName(otherSection, section)) {
        unchanged(otherSection, key);
        unchanged(otherSection, otherKey);
    }
    return 0;
}
