// Arbitrary bytes as a plain-text or a Markdown book: one message or a tidy
// book, never a crash.
#include "ImportFuzzCheck.h"
#include "TextImport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool markdown = (data[0] & 1) != 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string name = markdown ? "fuzz.md" : "fuzz.txt";
    using namespace varnet::import;
    varnet::fuzz::checkImport(markdown ? importMarkdown(bytes, name) : importPlainText(bytes, name), name);
    return 0;
}
