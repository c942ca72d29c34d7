// Colour values as the reader stores them: 0x00BBGGRR for a fixed colour
// (red in the low byte), or 0x80000000 + n for the desktop's system colour n,
// which is looked up only when something is drawn with it.
#pragma once

#include <cstdint>

namespace varnet {

using Colour = std::uint32_t;

constexpr Colour kSystemColourFlag = 0x80000000u;

// The three system colours the "Windows" scheme names.
constexpr Colour kSystemWindowBackground = kSystemColourFlag + 5;
constexpr Colour kSystemWindowText = kSystemColourFlag + 8;
constexpr Colour kSystemGreyText = kSystemColourFlag + 17;

constexpr bool isSystemColour(Colour c) {
    return (c & kSystemColourFlag) != 0;
}
constexpr int systemColourNumber(Colour c) {
    return static_cast<int>(c & ~kSystemColourFlag);
}

constexpr int redOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

}  // namespace varnet
