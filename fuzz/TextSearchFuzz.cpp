// The Find dialog's search over an arbitrary text with an arbitrary find
// text, direction, case setting and panel on show, pressed a few times, each
// hit drawn by the renderer on the recording fake surface.
#include "EngineFakes.h"
#include "FakeFindDialog.h"
#include "FakeSurface.h"
#include "FuzzCheck.h"
#include "LineList.h"
#include "PanelRenderer.h"
#include "TextSearch.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace varnet;
using varnet::testing::FakeControls;
using varnet::testing::FakeFindDialog;
using varnet::testing::FakeSurface;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FakeFindDialog dialog;
    dialog.text = in.ConsumeRandomLengthString(64);
    dialog.caseOn = in.ConsumeBool();
    const int height = in.ConsumeIntegralInRange(0, 1200);
    const int fontSize = in.ConsumeIntegralInRange(4, 40);
    const bool two = in.ConsumeBool();
    const std::uint32_t topPick = in.ConsumeIntegral<std::uint32_t>();
    const int presses = in.ConsumeIntegralInRange(1, 6);
    const std::uint8_t directions = in.ConsumeIntegral<std::uint8_t>();
    const std::int32_t directStart = in.ConsumeIntegral<std::int32_t>();

    ReaderState st;
    st.FontSize = fontSize;
    st.BookFolder = "/nonexistent-varnet-fuzz/";
    st.CurrentText = LineList::fromBytes(in.ConsumeRemainingBytesAsString());
    const std::int32_t count = st.CurrentText->count();

    FakeSurface surface(400, height);
    FakeControls controls;
    controls.two = two;
    PanelRenderer renderer(st, surface, controls);
    std::vector<std::int32_t> held;
    varnet::testing::FunctionHitDrawer drawer([&](std::int32_t start, std::int32_t line) {
        held.push_back(line);
        surface.reset();
        return renderer.DrawPanelHolding(start, line);
    });
    TextSearch search(st, dialog, drawer);

    st.TopLine = static_cast<std::int32_t>(topPick % (static_cast<std::uint32_t>(count) + 2u));
    st.NextLine = renderer.DrawPanel(st.TopLine);
    for (int p = 0; p < presses; ++p) {
        dialog.down = (directions >> p) & 1;
        const std::size_t shownBefore = held.size();
        const int closesBefore = dialog.closes;
        search.FindDialog1Find();
        const std::size_t shown = held.size() - shownBefore;
        const int closes = dialog.closes - closesBefore;
        // One press shows one hit or closes the dialog, never both.
        FUZZ_CHECK(shown + static_cast<std::size_t>(closes) <= 1);
        if (dialog.text.empty()) FUZZ_CHECK(shown == 0);
        if (shown == 1) {
            FUZZ_CHECK(st.SearchFound == held.back());
            FUZZ_CHECK(st.SearchFound >= 0 && st.SearchFound < count - 1);
            FUZZ_CHECK(st.TopLine >= 0 && st.TopLine < count);
            // The hit is on the panel drawn; only the closing line can miss
            // it, when it is a break point or the surface holds one line.
            if (st.SearchFound < count - 2) FUZZ_CHECK(renderer.lineBox(st.SearchFound).has_value());
        }
    }
    // A search from anywhere, even outside the text, reads only its lines.
    search.SearchText(directStart, directStart % 2 ? -1 : +1);
    for (const std::int32_t line : held) FUZZ_CHECK(line >= 0 && line < count);
    return 0;
}
