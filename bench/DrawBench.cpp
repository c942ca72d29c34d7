// Drawing one full panel (1920 by 1080 at 15 points) through the reader's Qt
// surface, against painting the same text pieces with plain QPainter calls.

#include "BenchSupport.h"
#include "BookOpening.h"
#include "BuiltinTexts.h"
#include "ColourSchemes.h"
#include "EngineFakes.h"
#include "PanelRenderer.h"
#include "ReadingSurface.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace varnet;

namespace {

using varnet::bench::NoControls;

// Records the pieces a panel draws while passing every call on.
class Recorder : public DrawingSurface {
public:
    explicit Recorder(ui::QtSurface& target) : t_(target) {}
    struct Piece {
        int x, y;
        std::string text;
        SurfaceFont font;
    };
    int width() const override { return t_.width(); }
    int height() const override { return t_.height(); }
    void fillRect(int l, int t, int r, int b) override { sync(), t_.fillRect(l, t, r, b); }
    int textWidth(std::string_view s) override { return sync(), t_.textWidth(s); }
    int textHeight(std::string_view s) override { return sync(), t_.textHeight(s); }
    void drawText(int x, int y, std::string_view s) override {
        sync();
        if (!s.empty()) pieces.push_back({x, y, std::string(s), font});
        t_.drawText(x, y, s);
    }
    void drawLine(int a, int b, int c, int d) override { sync(), t_.drawLine(a, b, c, d); }
    std::vector<Piece> pieces;

private:
    void sync() {
        t_.font = font;
        t_.fillColour = fillColour;
        t_.penColour = penColour;
        t_.penWidth = penWidth;
    }
    ui::QtSurface& t_;
};

struct Panel {
    ReaderState st;
    std::unique_ptr<ui::ReadingSurface> widget;
    NoControls controls;
    std::unique_ptr<PanelRenderer> renderer;
    std::int32_t start = 0;

    Panel() {
        widget = std::make_unique<ui::ReadingSurface>();
        widget->resize(1920, 1080);
        widget->surface().create(QSize(1920, 1080), 1.0);
        // The widget is never shown: its picture is made now, as showing it
        // would, so that panels are painted and not only kept for later.
        widget->surface().coverWidget();
        st.FontSize = 15;
        fillScheme(st, Scheme::Light);
        testing::FakeOpeningHost host;
        BookOpening opening(st, host);
        opening.OpenBook("/bench/fable.qtx", "refpt001");
        renderer = std::make_unique<PanelRenderer>(st, widget->surface(), controls);
        // A panel from the middle of the book, where phrases and colours are
        // as the reader meets them.
        start = st.CurrentText->count() / 2;
        while (start > 0 && (*st.CurrentText)[start][0] != 'p') --start;
    }
};

Panel& panel() {
    static Panel p;
    return p;
}

void BM_DrawPanelQtSurface(benchmark::State& state) {
    Panel& p = panel();
    std::int32_t next = 0;
    for (auto _ : state) {
        next = p.renderer->DrawPanel(p.start);
        benchmark::DoNotOptimize(next);
    }
    state.counters["lines"] = next - p.start;
}
BENCHMARK(BM_DrawPanelQtSurface)->Unit(benchmark::kMicrosecond);

void BM_PlainQPainterSamePieces(benchmark::State& state) {
    Panel& p = panel();
    Recorder recorder(p.widget->surface());
    PanelRenderer rec(p.st, recorder, p.controls);
    rec.DrawPanel(p.start);
    const auto pieces = recorder.pieces;

    QImage image(1920, 1080, QImage::Format_RGB32);
    std::vector<QFont> fonts;
    std::vector<QColor> inks;
    std::vector<QString> texts;
    std::vector<int> ascents;
    for (const auto& piece : pieces) {
        QFont f(QString::fromLatin1(piece.font.face.empty() ? "Times New Roman" : piece.font.face.c_str()));
        f.setPixelSize(ui::QtSurface::pointsToPixels(piece.font.size));
        f.setBold(piece.font.style.bold);
        fonts.push_back(f);
        ascents.push_back(QFontMetrics(f).ascent());
        inks.push_back(ui::QtSurface::resolve(piece.font.colour));
        texts.push_back(QString::fromLatin1(piece.text.data(), static_cast<qsizetype>(piece.text.size())));
    }
    for (auto _ : state) {
        QPainter painter(&image);
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            if (k == 0 || fonts[k] != fonts[k - 1]) painter.setFont(fonts[k]);
            if (k == 0 || inks[k] != inks[k - 1]) painter.setPen(inks[k]);
            painter.drawText(QPoint(pieces[k].x, pieces[k].y + ascents[k]), texts[k]);
        }
    }
    state.counters["pieces"] = static_cast<double>(pieces.size());
}
BENCHMARK(BM_PlainQPainterSamePieces)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return varnet::bench::runInApplication(argc, argv);
}
