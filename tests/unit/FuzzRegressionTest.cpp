// Inputs the fuzz targets once crashed on, replayed against the units they
// broke. The sanitizer build of the suite sees the faults these guard.
#include "EngineFakes.h"
#include "FakeFindDialog.h"
#include "TextSearch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

using namespace varnet;
using varnet::testing::FakeFindDialog;

// TextSearchFuzz: a search from a start near either end of the 32-bit range
// stepped its first line past the range (signed overflow) before checking it
// against the text. It must find nothing and close the dialog.
TEST(FuzzRegression, SearchFromTheEdgesOfTheNumberRange) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t start, direction;
    } cases[] = {{kMin + 1, -1}, {kMin, -1}, {kMax, +1}, {kMax - 1, +1}, {-1, +1},
                 {11, -1},       {0, +1},    {9, -1},    {10, +1},       {0, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        ReaderState st;
        st.CurrentText = LineList(std::vector<std::string>(10, " the road"));
        FakeFindDialog dialog;
        dialog.text = "road";
        std::vector<std::int32_t> drawn;
        varnet::testing::FunctionHitDrawer drawer([&](std::int32_t start, std::int32_t) {
            drawn.push_back(start);
            return start + 1;
        });
        TextSearch search(st, dialog, drawer);
        search.SearchText(c.start, c.direction);
        // Down examines from the start itself, up from the line above it.
        const bool entersText = (c.start == 0 && c.direction > 0) || (c.start == 9 && c.direction < 0);
        EXPECT_EQ(drawn.empty(), !entersText);
        EXPECT_EQ(dialog.closes, entersText ? 0 : 1);
        for (const auto line : drawn) EXPECT_TRUE(line >= 0 && line < 10);
    }
}
