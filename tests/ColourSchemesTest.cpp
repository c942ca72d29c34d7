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

TEST(ColourSchemes, LightAndWindowsValues) {
    ReaderState st;
    fillScheme(st, Scheme::Light);
    EXPECT_EQ(st.SchemeColours[1][0], 0x00A6C2DDu);
    EXPECT_EQ(st.SchemeColours[0][0], 0x009FBCE3u);
    EXPECT_EQ(st.SchemeColours[1][5], 0x00006200u);
    EXPECT_EQ(st.SchemeColours[0][5], 0x00005500u);
    EXPECT_EQ(st.SchemeColours[0][6], 0x00000097u);
    EXPECT_EQ(st.SchemeColours[1][7], 0x006C0000u);
    EXPECT_EQ(st.SchemeColours[0][7], 0x00680000u);
    EXPECT_EQ(st.SchemeColours[1][8], 0x004A004Au);
    EXPECT_EQ(st.SchemeColours[0][8], 0x005B005Bu);
    fillScheme(st, Scheme::Windows);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(st.SchemeColours[r][0], 0x80000005u);
        EXPECT_EQ(st.SchemeColours[r][3], 0x80000008u);
        for (int k = 5; k <= 8; ++k) EXPECT_EQ(st.SchemeColours[r][k], 0x80000011u);
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
