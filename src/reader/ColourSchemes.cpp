#include "ColourSchemes.h"

namespace varnet {

namespace {

constexpr SchemeValues kLight{{0x00A6C2DD, 0x00000000, 0x00006200, 0x00000097, 0x006C0000, 0x004A004A},
                              {0x009FBCE3, 0x00000000, 0x00005500, 0x00000097, 0x00680000, 0x005B005B}};

constexpr SchemeValues kDark{{0x00454538, 0x0087D6E7, 0x00C7F1BE, 0x009DB1E1, 0x00DBBEA4, 0x00C2B8CD},
                             {0x00462F39, 0x0087D6E7, 0x00C7F1BE, 0x00ACA4FB, 0x00DBBEA4, 0x00CFB4C9}};

constexpr SchemeValues kWindows{{kSystemWindowBackground, kSystemWindowText, kSystemGreyText, kSystemGreyText,
                                 kSystemGreyText, kSystemGreyText},
                                {kSystemWindowBackground, kSystemWindowText, kSystemGreyText, kSystemGreyText,
                                 kSystemGreyText, kSystemGreyText}};

}  // namespace

const SchemeValues& schemeValues(Scheme scheme) {
    switch (scheme) {
        case Scheme::Dark:
            return kDark;
        case Scheme::Windows:
            return kWindows;
        case Scheme::Light:
            break;
    }
    return kLight;
}

void fillScheme(ReaderState& state, Scheme scheme) {
    const SchemeValues& v = schemeValues(scheme);
    state.Band = 1;
    for (int k = 0; k < 6; ++k) state.SchemeColours[1][kSchemeIndices[k]] = v.row1[k];
    state.Band = 0;
    for (int k = 0; k < 6; ++k) state.SchemeColours[0][kSchemeIndices[k]] = v.row0[k];
}

void copyNoColouredText(ReaderState& state) {
    for (int row : {1, 0}) {
        state.Band = row;
        auto& r = state.SchemeColours[static_cast<std::size_t>(row)];
        for (int k = 5; k <= 8; ++k) r[k] = r[3];
    }
}

void copySingleShade(ReaderState& state) {
    for (int k : {0, 5, 6, 7, 8}) state.SchemeColours[0][k] = state.SchemeColours[1][k];
}

}  // namespace varnet
