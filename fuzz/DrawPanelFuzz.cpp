// DrawPanel over an arbitrary text on the recording fake surface: arbitrary
// start line, surface size, font size, band and one or two columns, then a
// few panels onward from where each one stopped.
#include "FakeSurface.h"
#include "FuzzCheck.h"
#include "LineList.h"
#include "OpenedText.h"
#include "PanelRenderer.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace varnet;
using varnet::testing::FakeControls;
using varnet::testing::FakeSurface;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int width = in.ConsumeIntegralInRange(0, 3000);
    const int height = in.ConsumeIntegralInRange(0, 2000);
    const int fontSize = in.ConsumeIntegralInRange(4, 40);
    const bool two = in.ConsumeBool();
    const int band = in.ConsumeIntegralInRange(0, 1);
    const std::int32_t startPick = in.ConsumeIntegral<std::int32_t>();
    const int panels = in.ConsumeIntegralInRange(1, 4);

    ReaderState st;
    st.FontSize = fontSize;
    st.Band = band;
    // Image tags look for their file here; nothing is ever found.
    st.BookFolder = "/nonexistent-varnet-fuzz/";
    for (int b = 0; b < 2; ++b)
        for (int k = 0; k < 9; ++k) st.SchemeColours[b][k] = static_cast<Colour>(0x10 * b + k);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    st.CurrentText = LineList::fromBytes(bytes);
    const std::int32_t count = st.CurrentText->count();
    // Opening a text straight from its bytes gives what opening its lines
    // gives.
    FUZZ_CHECK(openedTextOfBytes(bytes) == openedText(*st.CurrentText));

    FakeSurface surface(width, height);
    FakeControls controls;
    controls.two = two;
    PanelRenderer renderer(st, surface, controls);

    // Mostly a start inside the text or just past it, sometimes any number.
    std::int32_t start = startPick;
    if (startPick % 4 != 0)
        start = static_cast<std::int32_t>(static_cast<std::uint32_t>(startPick) % (count + 3u));

    for (int p = 0; p < panels; ++p) {
        const std::int32_t next = renderer.DrawPanel(start);
        FUZZ_CHECK(st.TopLine == start);
        FUZZ_CHECK(st.Band == 0 || st.Band == 1);
        FUZZ_CHECK(surface.begins == surface.ends);
        if (count == 0) {
            FUZZ_CHECK(next == start || next == -1);
            break;
        }
        if (start >= count - 2) {
            FUZZ_CHECK(next == start);
            break;
        }
        if (count < 2) {
            FUZZ_CHECK(next == -1);
            break;
        }
        // At least one line is drawn, and the panel never runs past the
        // closing line.
        FUZZ_CHECK(next > (start < 0 ? 0 : start));
        FUZZ_CHECK(next <= count - 1);
        FUZZ_CHECK(!surface.texts.empty());
        FUZZ_CHECK(controls.progressMax == count);
        start = next;
        surface.reset();
    }
    return 0;
}
