// Arbitrary bytes as an EPUB: the archive, its container, package, table of
// contents and documents read from them give one message or a tidy book,
// never a crash or an unbounded inflation.
#include "EpubImport.h"
#include "ImportFuzzCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name = "fuzz.epub";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    varnet::fuzz::checkImport(varnet::import::importEpub(bytes, name), name);
    return 0;
}
