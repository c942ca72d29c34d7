// The Find dialog's search over an arbitrary text with an arbitrary find
// text, direction, case setting and panel on show, pressed a few times.
#include "FakeFindDialog.h"
#include "FuzzCheck.h"
#include "LineList.h"
#include "TextSearch.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace varnet;
using varnet::testing::FakeFindDialog;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FakeFindDialog dialog;
    dialog.text = in.ConsumeRandomLengthString(64);
    dialog.caseOn = in.ConsumeBool();
    const std::int32_t panelLines = in.ConsumeIntegralInRange(0, 60);
    const std::uint32_t topPick = in.ConsumeIntegral<std::uint32_t>();
    const int presses = in.ConsumeIntegralInRange(1, 6);
    const std::uint8_t directions = in.ConsumeIntegral<std::uint8_t>();
    const std::int32_t directStart = in.ConsumeIntegral<std::int32_t>();

    ReaderState st;
    st.CurrentText = LineList::fromBytes(in.ConsumeRemainingBytesAsString());
    const std::int32_t count = st.CurrentText->count();

    std::vector<std::int32_t> drawn;
    TextSearch search(st, dialog, [&](std::int32_t line) {
        drawn.push_back(line);
        st.TopLine = line;
        return line + panelLines;
    });

    st.TopLine = static_cast<std::int32_t>(topPick % (static_cast<std::uint32_t>(count) + 2u));
    st.NextLine = st.TopLine + panelLines;
    for (int p = 0; p < presses; ++p) {
        dialog.down = (directions >> p) & 1;
        const std::size_t drawsBefore = drawn.size();
        const int closesBefore = dialog.closes;
        search.FindDialog1Find();
        const std::size_t draws = drawn.size() - drawsBefore;
        const int closes = dialog.closes - closesBefore;
        // One press shows one hit or closes the dialog, never both.
        FUZZ_CHECK(draws + static_cast<std::size_t>(closes) <= 1);
        if (dialog.text.empty()) FUZZ_CHECK(draws == 0);
        if (draws == 1) {
            FUZZ_CHECK(drawn.back() >= 0 && drawn.back() < count);
            FUZZ_CHECK(st.SearchFound >= 0 && st.SearchFound < count - 1);
        }
    }
    // A search from anywhere, even outside the text, reads only its lines.
    search.SearchText(directStart, directStart % 2 ? -1 : +1);
    for (const std::int32_t line : drawn) FUZZ_CHECK(line >= 0 && line < count);
    return 0;
}
