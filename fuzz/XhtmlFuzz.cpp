// Arbitrary bytes as an EPUB's XHTML document: the forgiving parser and the
// block reader give blocks of collapsed, non-empty lines.
#include "EpubImport.h"
#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using varnet::import::XhtmlBlock;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const XhtmlBlock& b : varnet::import::readXhtmlBlocks(bytes)) {
        FUZZ_CHECK(b.kind == XhtmlBlock::Kind::Verse ? b.lines.size() >= 2 : b.lines.size() == 1);
        FUZZ_CHECK((b.kind == XhtmlBlock::Kind::Heading) == (b.level >= 1 && b.level <= 6));
        for (const std::string& line : b.lines) {
            FUZZ_CHECK(!line.empty() && line.front() != ' ' && line.back() != ' ');
            FUZZ_CHECK(line.find("  ") == std::string::npos && line.find('\n') == std::string::npos);
        }
    }
    return 0;
}
