// Both passes of the word index over an arbitrary index file: the lines put
// into tree order, the tree built from them, and a click on every node.
#include "EngineFakes.h"
#include "FuzzCheck.h"
#include "LineList.h"
#include "WordIndex.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace varnet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::string last = in.ConsumeRandomLengthString(12);
    const std::string clickedLast = in.ConsumeRandomLengthString(8);
    const LineList file = LineList::fromBytes(in.ConsumeRemainingBytesAsString());

    const LineList prepared = prepareIndexLines(file);
    FUZZ_CHECK(prepared.count() >= 1);
    FUZZ_CHECK(prepared[0] == kIndexRootText);
    std::size_t fileBytes = 0, preparedBytes = 0;
    for (const std::string_view line : file) fileBytes += line.size();
    for (const std::string_view line : prepared) {
        FUZZ_CHECK(!line.empty());
        preparedBytes += line.size();
    }
    // Rearranging adds the root and one-character letter lines, nothing else:
    // at most one letter line per file line.
    FUZZ_CHECK(preparedBytes <= fileBytes + 5 + static_cast<std::size_t>(file.count()));

    const auto tree = buildIndexTree(prepared);
    FUZZ_CHECK(tree.size() == static_cast<std::size_t>(prepared.count()));
    for (std::size_t k = 0; k < tree.size(); ++k) {
        FUZZ_CHECK(tree[k].parent >= -1 && tree[k].parent < static_cast<std::int32_t>(k));
        const auto jump = indexJumpFor(tree[k].text, last);
        if (!jump) continue;
        FUZZ_CHECK(jump->line >= 0);
        FUZZ_CHECK(jump->entry != last);
        // The same node clicked again does not jump.
        FUZZ_CHECK(!indexJumpFor(tree[k].text, jump->entry));
        last = jump->entry;
    }

    ReaderState st;
    st.LastIndexEntry = clickedLast;
    for (const auto& node : tree) {
        std::int32_t drawnFrom = -1;
        varnet::testing::FunctionPlacer placer([&](std::int32_t line) {
            drawnFrom = line;
            return line + 1;
        });
        const bool jumped = followIndexNode(st, node.text, placer);
        FUZZ_CHECK(jumped == (drawnFrom >= 0));
        if (jumped) FUZZ_CHECK(st.NextLine == drawnFrom + 1);
    }
    varnet::testing::FunctionPlacer unused([](std::int32_t) { return 0; });
    FUZZ_CHECK(!followIndexNode(st, std::nullopt, unused));
    return 0;
}
