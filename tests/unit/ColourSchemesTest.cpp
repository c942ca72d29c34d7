#include "ColourSchemes.h"

#include <gtest/gtest.h>

using namespace varnet;

TEST(ColourSchemes, FillWritesOnlyItsSixIndicesAndLeavesBandZero) {
    ReaderState st;
    for (auto& row : st.SchemeColours) row.fill(0x00123456);
    st.Band = 1;
    fillScheme(st, Scheme::Dark);
    EXPECT_EQ(st.Band, 0);
    const SchemeRow row0 = {0x00462F39, 0x00123456, 0x00123456, 0x0087D6E7, 0x00123456,
                            0x00C7F1BE, 0x00ACA4FB, 0x00DBBEA4, 0x00CFB4C9};
    const SchemeRow row1 = {0x00454538, 0x00123456, 0x00123456, 0x0087D6E7, 0x00123456,
                            0x00C7F1BE, 0x009DB1E1, 0x00DBBEA4, 0x00C2B8CD};
    EXPECT_EQ(st.SchemeColours[0], row0);
    EXPECT_EQ(st.SchemeColours[1], row1);
}

namespace {

// A fixed colour from its red, green and blue: 0x00BBGGRR.
constexpr Colour rgb(unsigned red, unsigned green, unsigned blue) {
    return red | green << 8 | blue << 16;
}

}  // namespace

TEST(ColourSchemes, EveryValueOfEachSchemeByteForByte) {
    constexpr Colour kUntouched = 0x00123456;  // indices 1, 2 and 4 are never written
    constexpr Colour kBlack = rgb(0, 0, 0);
    struct Case {
        Scheme scheme;
        SchemeRow row1, row0;
    };
    const Case cases[] = {
        {Scheme::Light,
         {rgb(221, 194, 166), kUntouched, kUntouched, kBlack, kUntouched, rgb(0, 98, 0), rgb(151, 0, 0),
          rgb(0, 0, 108), rgb(74, 0, 74)},
         {rgb(227, 188, 159), kUntouched, kUntouched, kBlack, kUntouched, rgb(0, 85, 0), rgb(151, 0, 0),
          rgb(0, 0, 104), rgb(91, 0, 91)}},
        {Scheme::Dark,
         {rgb(56, 69, 69), kUntouched, kUntouched, rgb(231, 214, 135), kUntouched, rgb(190, 241, 199),
          rgb(225, 177, 157), rgb(164, 190, 219), rgb(205, 184, 194)},
         {rgb(57, 47, 70), kUntouched, kUntouched, rgb(231, 214, 135), kUntouched, rgb(190, 241, 199),
          rgb(251, 164, 172), rgb(164, 190, 219), rgb(201, 180, 207)}},
        // System colours 5 (window background), 8 (window text), 17 (grey text).
        {Scheme::Windows,
         {0x80000005, kUntouched, kUntouched, 0x80000008, kUntouched, 0x80000011, 0x80000011, 0x80000011,
          0x80000011},
         {0x80000005, kUntouched, kUntouched, 0x80000008, kUntouched, 0x80000011, 0x80000011, 0x80000011,
          0x80000011}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.scheme));
        ReaderState st;
        for (auto& row : st.SchemeColours) row.fill(kUntouched);
        st.Band = 1;
        fillScheme(st, c.scheme);
        EXPECT_EQ(st.SchemeColours[1], c.row1);
        EXPECT_EQ(st.SchemeColours[0], c.row0);
        EXPECT_EQ(st.Band, 0);
    }
}

TEST(ColourSchemes, ModifiersCopyInsideTheTable) {
    ReaderState st;
    fillScheme(st, Scheme::Light);
    copyNoColouredText(st);
    EXPECT_EQ(st.Band, 0);
    for (int r = 0; r < 2; ++r)
        for (int k = 5; k <= 8; ++k) EXPECT_EQ(st.SchemeColours[r][k], 0u);
    EXPECT_NE(st.SchemeColours[0][0], st.SchemeColours[1][0]);
    st.Band = 1;
    copySingleShade(st);
    EXPECT_EQ(st.Band, 1);
    EXPECT_EQ(st.SchemeColours[0][0], 0x00A6C2DDu);
    EXPECT_EQ(st.SchemeColours[0], st.SchemeColours[1]);
}
