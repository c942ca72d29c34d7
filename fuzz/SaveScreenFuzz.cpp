// The save-screen filter on an arbitrary text and an arbitrary panel range.
#include "FuzzCheck.h"
#include "LineList.h"
#include "SaveScreen.h"
#include "TextFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

using namespace varnet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::int32_t top = in.ConsumeIntegralInRange(-5, 300);
    const std::int32_t next =
        in.ConsumeBool() ? in.ConsumeIntegral<std::int32_t>() : top + in.ConsumeIntegralInRange(-3, 60);
    const LineList text = LineList::fromBytes(in.ConsumeRemainingBytesAsString());

    const LineList kept = screenLinesToSave(text, top, next);
    // Every kept line is a line of the range with its tags removed, in the
    // text's order.
    std::int32_t from = top < 0 ? 0 : top;
    for (const std::string_view line : kept) {
        FUZZ_CHECK(line.find('|') == std::string::npos);
        while (from < text.count() && from <= next && removeTags(text[from]) != line) ++from;
        FUZZ_CHECK(from < text.count() && from <= next);
        ++from;
    }

    ReaderState st;
    st.TopLine = top;
    st.NextLine = next;
    FUZZ_CHECK(savedScreenBytes(st).empty());
    st.CurrentText = text;
    FUZZ_CHECK(screenLinesToSave(st) == kept);
    FUZZ_CHECK(savedScreenBytes(st) == kept.toBytes() || kept.empty());
    return 0;
}
