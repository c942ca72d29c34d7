// Inputs the fuzz targets once crashed on, replayed against the units they
// broke. The sanitizer build of the suite sees the faults these guard.
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
    } cases[] = {{kMin + 1, -1}, {kMin, -1}, {kMax, +1}, {kMax - 1, +1},
                 {-3, +1},       {12, -1},   {-2, +1},   {8, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        ReaderState st;
        st.CurrentText = LineList(std::vector<std::string>(10, " the road"));
        FakeFindDialog dialog;
        dialog.text = "road";
        std::vector<std::int32_t> drawn;
        TextSearch search(st, dialog, [&](std::int32_t line) {
            drawn.push_back(line);
            return line + 1;
        });
        search.SearchText(c.start, c.direction);
        const bool entersText = c.start == -2 || c.start == 8;
        EXPECT_EQ(drawn.empty(), !entersText);
        EXPECT_EQ(dialog.closes, entersText ? 0 : 1);
        for (const auto line : drawn) EXPECT_TRUE(line >= 0 && line < 10);
    }
}
