#include "PanelRenderer.h"

#include "TextFormat.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace varnet {

namespace {

const std::string kFiveBlanks = "     ";

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::int32_t PanelRenderer::DrawPanel(std::int32_t start) {
    ReaderState& st = state_;
    st.TopLine = start;
    controls_.setPrevEnabled(start != 0);
    if (start == 0) st.Band = 0;
    st.ImagePath.clear();
    boxes_.clear();

    if (!st.CurrentText) return -1;
    const LineList& text = *st.CurrentText;
    const std::int32_t count = text.count();
    if (start >= count - 2) return start;
    if (count < 2) return -1;

    // The label counts hundreds of lines, not panels.
    controls_.setPositionCaption(std::to_string(start / 100) + " of " + std::to_string(count / 100) +
                                 " panels");
    controls_.setProgress(count, start);

    const bool twoColumns = controls_.twoColumns();
    int columns = twoColumns ? 2 : 1;
    const int surfaceWidth = surface_.width();
    const int surfaceHeight = surface_.height();
    st.ColumnWidth = twoColumns ? surfaceWidth / 2 - 2 : surfaceWidth;
    st.PanelHeight = surfaceHeight;

    struct DrawingScope {
        DrawingSurface& s;
        explicit DrawingScope(DrawingSurface& surface) : s(surface) { s.beginDrawing(); }
        ~DrawingScope() { s.endDrawing(); }
    } scope(surface_);

    std::int32_t i = start;
    bool secondColumn = false;
    while (columns > 0) {
        int x0 = 0;
        if (secondColumn) {
            st.ColumnWidth = surfaceWidth;
            x0 = surfaceWidth / 2 + 3;
        }
        surface_.fillColour = st.SchemeColours[static_cast<std::size_t>(st.Band)][0];
        surface_.fillRect(x0, 0, surfaceWidth, surfaceHeight);
        surface_.font.size = st.FontSize;
        surface_.font.colour = st.SchemeColours[static_cast<std::size_t>(st.Band)][3];
        st.LineHeight = surface_.textHeight("X");
        int y = kTopMargin;
        std::int32_t n = st.LineHeight > 0 ? st.PanelHeight / st.LineHeight : 0;
        if (i < 0) i = 0;
        if (i + n > count - 1) n = count - 1 - i;
        if (boxes_.empty()) firstBoxLine_ = i;

        // End the column just before the break point nearest the bottom, so
        // the next panel opens on it. The column's first line is not looked at.
        if (n > 0) {
            for (std::int32_t k = n - 1; k >= 1; --k) {
                if (isPanelBreakPoint(text[i + k])) {
                    n = k;
                    break;
                }
            }
        }

        do {
            const int top = y;
            const int right = drawLine(text[i], x0, y);
            boxes_.push_back({x0, top, right, top + st.LineHeight});
            y += st.LineHeight;
            ++i;
            --n;
        } while (!(n <= 0 || y >= st.PanelHeight || i >= count - 1));

        --columns;
        secondColumn = true;
        if (!(columns > 0 && i < count - 1)) break;
    }

    if (twoColumns) {
        surface_.penWidth = kSeparatorWidth;
        surface_.penColour = kSeparatorColour;
        const int xs = surfaceWidth / 2 - 3;
        surface_.drawLine(xs, 0, xs, surfaceHeight);
    }

    controls_.setNextEnabled(i < count - 2);
    controls_.panelDrawn();
    return i;
}

int PanelRenderer::drawLine(std::string_view text, int x0, int& y) {
    ReaderState& st = state_;
    surface_.font.size = st.FontSize;
    std::string s(text);
    s += ' ';
    int x = x0;

    auto toggleBand = [&] {
        st.Band = 1 - st.Band;
        surface_.fillColour = st.SchemeColours[static_cast<std::size_t>(st.Band)][0];
        surface_.font.colour = st.SchemeColours[static_cast<std::size_t>(st.Band)][3];
    };

    if (isPageMarker(s)) {
        s = kFiveBlanks;
        toggleBand();
    } else if (const auto at = s.find(kAnchorLetters); at != std::string::npos) {
        // Drop the anchor tag: everything up to the bar before "refp", then
        // up to the tag's closing ">"; what follows is drawn.
        s.erase(0, at);
        const auto close = s.find(kTagClose);
        if (close == std::string::npos)
            s.clear();
        else
            s.erase(0, close + 1);
        if (s.size() < 5) s += kFiveBlanks;
        toggleBand();
    } else if (holdsSectionBreak(s)) {
        s = kFiveBlanks;
    }

    // Shrink a line that is too wide, down to the smallest size. It is
    // measured in the face and style in force before its own tags.
    {
        const std::string plain = removeTags(s);
        int w = surface_.textWidth(plain);
        while (w > st.ColumnWidth - x0 && surface_.font.size > kSmallestShrinkSize) {
            --surface_.font.size;
            surface_.fillRect(x0, y, st.ColumnWidth, y + st.LineHeight);
            w = surface_.textWidth(plain);
        }
    }

    const auto& row = st.SchemeColours[static_cast<std::size_t>(st.Band)];
    for (auto u = s.find(kTagBar); u != std::string::npos; u = s.find(kTagBar)) {
        const std::string_view before(s.data(), u);
        surface_.drawText(x, y, before);
        x += surface_.textWidth(before);
        surface_.fillColour = st.SchemeColours[static_cast<std::size_t>(st.Band)][0];
        switch (tagAt(s, u)) {
            case TagKind::Colour:
                surface_.font.colour = row[static_cast<std::size_t>(tagColour(s, u) - 1)];
                break;
            case TagKind::FixedFace:
                surface_.font.face = kFixedFace;
                break;
            case TagKind::SerifFace:
                surface_.font.face = kSerifFace;
                break;
            case TagKind::Bold:
                surface_.font.style.bold = true;
                surface_.font.face = kSerifFace;
                break;
            case TagKind::Normal:
                surface_.font.style = FontStyle{};
                surface_.font.face = kSerifFace;
                break;
            case TagKind::Italic:
                surface_.font.style.italic = true;
                surface_.font.face = kSerifFace;
                break;
            case TagKind::Underline:
                surface_.font.style.underline = true;
                surface_.font.face = kSerifFace;
                break;
            case TagKind::Image:
                if (st.ImagePath.empty()) {
                    // The file name runs from the tag's ">" to the end of the line.
                    std::string name;
                    if (const auto gt = s.find(kTagClose, u); gt != std::string::npos)
                        name = s.substr(gt + 1);
                    while (!name.empty() && name.back() == ' ') name.pop_back();
                    st.ImagePath = st.BookFolder + name;
                    s.resize(u);
                    if (fileExists(st.ImagePath)) s += kImagePlaceholder;
                } else {
                    // A second image in one call: nothing more of this line, and
                    // its closing fill at the foot of the column ends the column.
                    s.resize(u);
                    y = st.PanelHeight - st.LineHeight + 1;
                }
                break;
            default:
                // Paragraph and anchor tags, and unknown ones, change nothing.
                break;
        }
        s.erase(0, std::min(s.size(), u + kShortTagLength));
    }

    surface_.drawText(x, y, s);
    x += surface_.textWidth(s);
    surface_.fillRect(x, y, st.ColumnWidth, y + st.LineHeight);
    return x;
}

std::int32_t PanelRenderer::DrawPanelHolding(std::int32_t start, std::int32_t line) {
    // A panel's tags and page markers change the band and the surface's font
    // for the panel after it; a try that is not kept must not.
    const int band = state_.Band;
    const SurfaceFont font = surface_.font;
    const std::int32_t next = DrawPanel(start);
    if (lineBox(line) || !state_.CurrentText) return next;

    const std::int32_t lastStart = state_.CurrentText->count() - 3;
    const std::int32_t retry = line > lastStart ? std::max(lastStart, 0) : line;
    if (retry == start) return next;
    state_.Band = band;
    surface_.font = font;
    return DrawPanel(retry);
}

std::optional<PanelRenderer::LineBox> PanelRenderer::lineBox(std::int32_t line) const {
    const std::int64_t k = std::int64_t{line} - firstBoxLine_;
    if (k < 0 || k >= static_cast<std::int64_t>(boxes_.size())) return std::nullopt;
    return boxes_[static_cast<std::size_t>(k)];
}

void PanelRenderer::Redraw() {
    ReaderState& st = state_;
    st.NextLine = st.TopLine;
    st.NextLine = DrawPanel(st.NextLine);
    controls_.setPathCaptions(st.BookmarkPath, st.SettingsPath, st.TocPath);
}

}  // namespace varnet
