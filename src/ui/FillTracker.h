// Keeps a picture's rectangle fills from painting pixels twice. A panel first
// fills its whole column with the band's background and then paints every line
// over it again, often in the other band's colour; painting both would write
// the whole picture twice per panel. The tracker defers fills, lets later
// fills cut away what they cover, skips fills of pixels known to hold the
// colour already, and paints what remains when something is drawn over it or
// when the drawing ends. Plain arithmetic on rows of spans; the painting is
// done by the sink it is given.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace varnet::ui {

class FillTracker {
public:
    class Sink {
    public:
        virtual ~Sink() = default;
        // Fills the rectangle (right and bottom exclusive) now.
        virtual void paint(int left, int top, int right, int bottom, std::uint32_t colour) = 0;
    };

    // A picture of the given size, uniformly of `colour`.
    void reset(int width, int height, std::uint32_t colour);
    // A fill whose painting may wait.
    void fill(int left, int top, int right, int bottom, std::uint32_t colour, Sink& sink);
    // Something other than a fill is about to be drawn in the rectangle: the
    // waiting fills there are painted now, and what the rectangle holds
    // afterwards is unknown.
    void touch(int left, int top, int right, int bottom, Sink& sink);
    // Paints every waiting fill.
    void flush(Sink& sink);

    bool hasPending() const;

private:
    struct Span {
        int from = 0;
        int to = 0;
        std::uint32_t colour = 0;
        bool empty() const { return from >= to; }
        bool operator==(const Span&) const = default;
    };
    static constexpr int kMaxPending = 4;
    // A run of rows in the same state: rows filled alike stay one band, so a
    // fill costs a step per band, not per row.
    struct Band {
        int top = 0;
        int bottom = 0;
        Span painted;                             // known to be in the picture
        std::array<Span, kMaxPending> pending{};  // waiting, disjoint
        int pendingCount = 0;
        bool sameState(const Band& other) const;
    };

    // Gathers the paints of one operation into rectangles over whole bands.
    class Batch {
    public:
        explicit Batch(Sink& sink) : sink_(sink) {}
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        void add(int top, int bottom, const Span& span);

    private:
        struct Run {
            int from, to, top, bottom;
            std::uint32_t colour;
        };
        void send(const Run& run) { sink_.paint(run.from, run.top, run.to, run.bottom, run.colour); }
        Sink& sink_;
        std::array<Run, 8> runs_{};
        int count_ = 0;
    };

    static void paintSpan(Band& band, const Span& span, Batch& batch);
    static void addPending(Band& band, const Span& span, Batch& batch);
    static void removePending(Band& band, int index);
    template <typename Inside>
    static void cutPending(Band& band, int left, int right, Batch& batch, Inside inside);
    static void fillBand(Band& band, int left, int right, std::uint32_t colour, Batch& batch);
    static void touchBand(Band& band, int left, int right, Batch& batch);
    bool clip(int& left, int& top, int& right, int& bottom) const;
    // Splits the bands so that one starts at `top` and one at `bottom`;
    // returns the index range of the bands covering [top, bottom).
    std::pair<std::size_t, std::size_t> bandsFor(int top, int bottom);
    std::size_t splitAt(int row);
    void coalesce(std::size_t first, std::size_t last);

    int width_ = 0;
    int height_ = 0;
    std::vector<Band> bands_;
};

}  // namespace varnet::ui
