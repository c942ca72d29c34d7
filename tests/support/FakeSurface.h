// A drawing surface with fixed glyph metrics that records every call, so panel
// layout can be checked exactly and without installed fonts. A character is
// as wide as the font's point size; a line is the point size plus 5 high.
#pragma once

#include "DrawingSurface.h"
#include "PanelRenderer.h"

#include <string>
#include <vector>

namespace varnet::testing {

struct FillCall {
    int left, top, right, bottom;
    Colour colour;
};
struct TextCall {
    int x, y;
    std::string text;
    SurfaceFont font;
    Colour background;
};
struct LineCall {
    int x1, y1, x2, y2, width;
    Colour colour;
};

class FakeSurface : public DrawingSurface {
public:
    FakeSurface(int w, int h) : w_(w), h_(h) {}
    int width() const override { return w_; }
    int height() const override { return h_; }
    void fillRect(int l, int t, int r, int b) override { fills.push_back({l, t, r, b, fillColour}); }
    int textWidth(std::string_view text) override {
        ++measures;
        return static_cast<int>(text.size()) * font.size;
    }
    int textHeight(std::string_view) override { return font.size + 5; }
    void drawText(int x, int y, std::string_view text) override {
        texts.push_back({x, y, std::string(text), font, fillColour});
    }
    void drawLine(int x1, int y1, int x2, int y2) override {
        lines.push_back({x1, y1, x2, y2, penWidth, penColour});
    }
    void beginDrawing() override { ++begins; }
    void endDrawing() override { ++ends; }

    void reset() {
        fills.clear();
        texts.clear();
        lines.clear();
    }
    // The text pieces drawn at one y, joined: what a reader sees on that row.
    std::string rowAt(int y) const {
        std::string out;
        for (const auto& t : texts)
            if (t.y == y) out += t.text;
        return out;
    }

    int w_, h_;
    std::vector<FillCall> fills;
    std::vector<TextCall> texts;
    std::vector<LineCall> lines;
    int measures = 0;
    int begins = 0;
    int ends = 0;
};

class FakeControls : public PanelControls {
public:
    void setPrevEnabled(bool e) override { prevEnabled = e; }
    void setNextEnabled(bool e) override { nextEnabled = e; }
    void setPositionCaption(const std::string& c) override { caption = c; }
    void setProgress(std::int32_t max, std::int32_t pos) override {
        progressMax = max;
        progressPos = pos;
    }
    bool twoColumns() const override { return two; }
    void setPathCaptions(const std::string& a, const std::string& b, const std::string& c) override {
        paths = a + "|" + b + "|" + c;
    }

    bool prevEnabled = true;
    bool nextEnabled = false;  // as the window is designed: Next disabled at start
    std::string caption;
    std::int32_t progressMax = 100;
    std::int32_t progressPos = 0;
    bool two = false;
    std::string paths;
};

}  // namespace varnet::testing
