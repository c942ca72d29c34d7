// Line normalisation and tag removal on arbitrary lines.
#include "FuzzCheck.h"
#include "TextFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace varnet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const std::string normal = normaliseLine(line);
    if (line.empty() || line[0] != 'l') {
        FUZZ_CHECK(normal == line);
    } else {
        // Blanks for the indent, then the body after the three-character code.
        const std::string_view body = line.substr(line.size() < 3 ? line.size() : 3);
        FUZZ_CHECK(normal.size() >= body.size());
        const std::size_t indent = normal.size() - body.size();
        FUZZ_CHECK(indent <= static_cast<std::size_t>(kMaxIndent));
        FUZZ_CHECK(std::string_view(normal).substr(indent) == body);
        FUZZ_CHECK(normal.find_first_not_of(' ') >= indent);
    }

    const std::string plain = removeTags(line);
    FUZZ_CHECK(plain.size() <= line.size());
    FUZZ_CHECK(plain.find('|') == std::string::npos);
    if (line.find('|') == std::string_view::npos) FUZZ_CHECK(plain == line);
    FUZZ_CHECK(removeTags(plain) == plain);
    FUZZ_CHECK(removeTags(normal).size() <= normal.size());
    return 0;
}
