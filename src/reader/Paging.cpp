#include "Paging.h"

#include "TextFormat.h"

namespace varnet {

bool Paging::onLastPanel() const {
    return !state_.CurrentText || state_.NextLine >= state_.CurrentText->count() - 2;
}

void Paging::PageForward() {
    // Nothing follows the last panel: it stays on show, and TopLine with it.
    if (onLastPanel()) return;
    state_.ReadingMoved = true;
    state_.NextLine = renderer_.DrawPanel(state_.NextLine);
}

std::int32_t Paging::pageBackStart() {
    ReaderState& st = state_;
    DrawingSurface& surface = renderer_.surface();
    // One column's worth of lines in the font exactly as the last drawn line
    // left it, shrunk size included.
    st.LineHeight = surface.textHeight("X");
    st.PanelHeight = surface.height();
    st.ColumnWidth = surface.width();
    const std::int32_t linesPerColumn = st.LineHeight > 0 ? st.PanelHeight / st.LineHeight : 0;

    const std::int32_t back = st.TopLine - linesPerColumn;
    if (back < 0) return 0;

    // Move forward to the nearest stop; none before the panel on show means
    // the estimate itself is used.
    std::int32_t start = back;
    if (st.CurrentText) {
        const LineList& text = *st.CurrentText;
        const std::int32_t last = text.count() - 1;
        while (start < last && !isPageBackStop(text[start])) ++start;
    }
    if (start >= st.TopLine) start = back;
    return start;
}

void Paging::PageBack() {
    ReaderState& st = state_;
    st.NextLine = st.TopLine;
    st.ReadingMoved = true;
    const std::int32_t start = pageBackStart();

    // Drawing resumes in the normal face when the stretch about to be drawn
    // again switches to the fixed-pitch one; the tag sets it again.
    if (st.CurrentText) {
        const LineList& text = *st.CurrentText;
        const std::int64_t end =
            std::min<std::int64_t>(static_cast<std::int64_t>(st.TopLine) + 2, text.count() - 1);
        for (std::int64_t i = std::max<std::int64_t>(start, 0); i <= end; ++i) {
            if (switchesToFixedFace(text[static_cast<std::int32_t>(i)])) {
                renderer_.surface().font.face = kSerifFace;
                break;
            }
        }
    }
    st.NextLine = renderer_.DrawPanel(start);
}

std::int32_t Paging::ShowLine(std::int32_t line) {
    ReaderState& st = state_;
    if (!st.CurrentText || line < st.CurrentText->count() - 2) return renderer_.DrawPanel(line);
    // A line at or past the end draws nothing: the text's last panel is shown
    // instead. Start one column's worth of lines before the end, in the
    // text's own font size, and go forward panel by panel as Page Down would
    // until a panel reaches the end.
    const std::int32_t end = st.CurrentText->count() - 2;
    renderer_.surface().font.size = st.FontSize;
    st.TopLine = end;
    std::int32_t start = pageBackStart();
    std::int32_t next = renderer_.DrawPanel(start);
    while (next > start && next < end) {
        start = next;
        next = renderer_.DrawPanel(start);
    }
    return next;
}

void Paging::NextButtonClick() {
    if (findDialog_) findDialog_->close();
    PageForward();
}

void Paging::PrevButtonClick() {
    if (findDialog_) findDialog_->close();
    PageBack();
}

void Paging::FormKeyDown(int& key) {
    if (key == kKeyPageDown)
        PageForward();
    else if (key == kKeyPageUp)
        PageBack();
    else
        return;
    key = 0;
}

void Paging::ReadingKeyDown(int& key, bool shift) {
    const bool forward = (key == kKeySpace && !shift) || key == kKeyDown || key == kKeyRight;
    const bool back = (key == kKeySpace && shift) || key == kKeyUp || key == kKeyLeft;
    if (forward)
        PageForward();
    else if (back)
        PageBack();
    else
        return;
    key = 0;
}

}  // namespace varnet
