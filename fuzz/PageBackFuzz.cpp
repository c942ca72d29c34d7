// Paging back and forth through an arbitrary text: PageBack's estimate, the
// Page Up / Page Down keys and the Prev / Next buttons, on the fake surface.
#include "FakeFindDialog.h"
#include "FakeSurface.h"
#include "FuzzCheck.h"
#include "LineList.h"
#include "Paging.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

using namespace varnet;
using varnet::testing::FakeControls;
using varnet::testing::FakeSurface;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int width = in.ConsumeIntegralInRange(0, 2000);
    const int height = in.ConsumeIntegralInRange(0, 1500);
    const int fontSize = in.ConsumeIntegralInRange(4, 40);
    const bool two = in.ConsumeBool();
    const std::uint32_t topPick = in.ConsumeIntegral<std::uint32_t>();
    const std::string moves = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(1, 12));

    ReaderState st;
    st.FontSize = fontSize;
    st.BookFolder = "/nonexistent-varnet-fuzz/";
    st.CurrentText = LineList::fromBytes(in.ConsumeRemainingBytesAsString());
    const std::int32_t count = st.CurrentText->count();

    FakeSurface surface(width, height);
    FakeControls controls;
    controls.two = two;
    PanelRenderer renderer(st, surface, controls);
    varnet::testing::FakeFindDialog findDialog;
    Paging paging(st, renderer, &findDialog);

    // A panel on show, as every paging operation finds it.
    const std::int32_t top = static_cast<std::int32_t>(topPick % (static_cast<std::uint32_t>(count) + 1u));
    st.NextLine = renderer.DrawPanel(top);

    for (const char move : moves) {
        const std::int32_t before = st.TopLine;
        const std::int32_t estimate = paging.pageBackStart();
        FUZZ_CHECK(estimate >= 0);
        FUZZ_CHECK(estimate <= (before < 0 ? 0 : before));
        switch (static_cast<unsigned char>(move) % 6) {
            case 0:
                paging.PageBack();
                break;
            case 1:
                paging.PageForward();
                break;
            case 2:
                paging.PrevButtonClick();
                break;
            case 3:
                paging.NextButtonClick();
                break;
            default: {
                int key = move % 2 ? kKeyPageUp : kKeyPageDown;
                paging.FormKeyDown(key);
                FUZZ_CHECK(key == 0);
            }
        }
        FUZZ_CHECK(st.TopLine >= 0);
        // Paging stays on the text's lines (or where the first panel stood).
        FUZZ_CHECK(st.TopLine <= (count > top ? count : top));
        FUZZ_CHECK(surface.begins == surface.ends);
        FUZZ_CHECK(st.Band == 0 || st.Band == 1);
        surface.reset();
    }
    return 0;
}
