#include "FillTracker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using varnet::ui::FillTracker;

namespace {

// A small picture painted through the tracker, beside the same picture
// painted directly: after a flush the two must agree pixel for pixel.
struct Pictures : FillTracker::Sink {
    int w, h;
    std::vector<std::uint32_t> direct, tracked;
    long painted = 0;
    FillTracker tracker;

    Pictures(int width, int height) : w(width), h(height), direct(std::size_t(w * h), 7), tracked(direct) {
        tracker.reset(w, h, 7);
    }
    void paint(int l, int t, int r, int b, std::uint32_t c) override {
        ASSERT_TRUE(l >= 0 && t >= 0 && r <= w && b <= h && l < r && t < b)
            << l << "," << t << "," << r << "," << b;
        painted += long(r - l) * (b - t);
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) tracked[std::size_t(y * w + x)] = c;
    }
    void fill(int l, int t, int r, int b, std::uint32_t c) {
        tracker.fill(l, t, r, b, c, *this);
        for (int y = std::max(t, 0); y < std::min(b, h); ++y)
            for (int x = std::max(l, 0); x < std::min(r, w); ++x) direct[std::size_t(y * w + x)] = c;
    }
    // Something drawn over the rectangle that is no fill: single pixels.
    void ink(int l, int t, int r, int b, std::uint32_t c, std::mt19937& rng) {
        tracker.touch(l, t, r, b, *this);
        for (int y = std::max(t, 0); y < std::min(b, h); ++y)
            for (int x = std::max(l, 0); x < std::min(r, w); ++x)
                if (rng() % 3 == 0) direct[std::size_t(y * w + x)] = tracked[std::size_t(y * w + x)] = c;
    }
};

TEST(FillTracker, AgreesWithDirectPaintingOverRandomDrawing) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 200; ++round) {
        Pictures p(40, 30);
        const int ops = 1 + int(rng() % 60);
        for (int k = 0; k < ops; ++k) {
            const int l = int(rng() % 50) - 5, t = int(rng() % 40) - 5;
            const int r = l + 1 + int(rng() % 30), b = t + 1 + int(rng() % 20);
            const std::uint32_t c = rng() % 4;
            switch (rng() % 5) {
                case 0:
                    p.ink(l, t, r, b, 100 + c, rng);
                    break;
                case 1:
                    p.tracker.flush(p);
                    ASSERT_EQ(p.tracked, p.direct) << "round " << round << ", step " << k;
                    break;
                default:
                    p.fill(l, t, r, b, c);
                    break;
            }
        }
        p.tracker.flush(p);
        ASSERT_FALSE(p.tracker.hasPending());
        ASSERT_EQ(p.tracked, p.direct) << "round " << round;
    }
}

// A panel's pattern: a whole-column fill in one band, then every line in the
// other band as text cells, ink and a closing fill to the right edge.
void drawPanel(Pictures& p, std::uint32_t column, std::uint32_t lines, std::mt19937& rng) {
    p.fill(0, 0, p.w, p.h, column);
    for (int y = 2; y + 4 <= p.h - 6; y += 4) {
        p.fill(0, y, 10, y + 4, lines);
        p.ink(-2, y - 1, 12, y + 5, 200, rng);
        p.fill(10, y, p.w, y + 4, lines);
    }
    p.tracker.flush(p);
}

TEST(FillTrackerPainting, EachPixelOnceAndRepeatsCostOnlyTheText) {
    std::mt19937 rng(7);
    Pictures p(200, 60);
    drawPanel(p, 1, 2, rng);
    EXPECT_EQ(p.tracked, p.direct);
    // The column fill hidden under the lines is not painted, but for the
    // background under the ink.
    EXPECT_LT(p.painted, long(p.w) * p.h * 21 / 20);

    // The same panel again: only around the ink is anything painted anew,
    // a strip 14 pixels wide of a picture 200 wide.
    p.painted = 0;
    drawPanel(p, 1, 2, rng);
    EXPECT_EQ(p.tracked, p.direct);
    EXPECT_LT(p.painted, long(p.w) * p.h / 10);
}

}  // namespace
