#include "FillTracker.h"

#include <algorithm>

namespace varnet::ui {

namespace {

// What is left of `span` outside [left, right): the longer side.
template <class Span>
Span cut(const Span& span, int left, int right) {
    if (span.empty() || span.to <= left || span.from >= right) return span;
    Span before = span, after = span;
    before.to = std::min(span.to, left);
    after.from = std::max(span.from, right);
    const int a = before.empty() ? 0 : before.to - before.from;
    const int b = after.empty() ? 0 : after.to - after.from;
    if (a == 0 && b == 0) return Span{};
    return a >= b ? before : after;
}

}  // namespace

FillTracker::Batch::~Batch() {
    for (int k = 0; k < count_; ++k) send(runs_[static_cast<std::size_t>(k)]);
}

void FillTracker::Batch::add(int top, int bottom, const Span& span) {
    for (int k = 0; k < count_; ++k) {
        Run& run = runs_[static_cast<std::size_t>(k)];
        if (run.bottom == top && run.from == span.from && run.to == span.to && run.colour == span.colour) {
            run.bottom = bottom;
            return;
        }
    }
    if (count_ == static_cast<int>(runs_.size())) {
        // Bands come in order, so the run that ended first cannot grow again.
        auto oldest = std::min_element(runs_.begin(), runs_.end(),
                                       [](const Run& a, const Run& b) { return a.bottom < b.bottom; });
        send(*oldest);
        *oldest = runs_[static_cast<std::size_t>(--count_)];
    }
    runs_[static_cast<std::size_t>(count_++)] = Run{span.from, span.to, top, bottom, span.colour};
}

bool FillTracker::Band::sameState(const Band& other) const {
    if (!(painted == other.painted) || pendingCount != other.pendingCount) return false;
    for (int k = 0; k < pendingCount; ++k)
        if (!(pending[static_cast<std::size_t>(k)] == other.pending[static_cast<std::size_t>(k)]))
            return false;
    return true;
}

void FillTracker::reset(int width, int height, std::uint32_t colour) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    bands_.clear();
    if (height_ > 0) {
        Band all;
        all.top = 0;
        all.bottom = height_;
        all.painted = Span{0, width_, colour};
        bands_.push_back(all);
    }
}

bool FillTracker::hasPending() const {
    return std::any_of(bands_.begin(), bands_.end(), [](const Band& b) { return b.pendingCount > 0; });
}

bool FillTracker::clip(int& left, int& top, int& right, int& bottom) const {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    return left < right && top < bottom;
}

std::size_t FillTracker::splitAt(int row) {
    // The band holding `row`: the last one starting at or above it.
    auto it =
        std::upper_bound(bands_.begin(), bands_.end(), row, [](int r, const Band& b) { return r < b.top; });
    if (it == bands_.begin()) return 0;
    --it;
    if (it->top == row) return static_cast<std::size_t>(it - bands_.begin());
    if (row >= it->bottom) return bands_.size();
    const auto index = static_cast<std::size_t>(it - bands_.begin());
    Band lower = *it;
    lower.top = row;
    it->bottom = row;
    bands_.insert(it + 1, lower);
    return index + 1;
}

std::pair<std::size_t, std::size_t> FillTracker::bandsFor(int top, int bottom) {
    const std::size_t first = splitAt(top);
    const std::size_t last = bottom >= height_ ? bands_.size() : splitAt(bottom);
    return {first, last};
}

void FillTracker::coalesce(std::size_t first, std::size_t last) {
    // Neighbours in the same state become one band again, the ones just
    // outside the range included.
    std::size_t k = first > 0 ? first - 1 : 0;
    std::size_t end = std::min(last + 1, bands_.size());
    while (k + 1 < end) {
        if (bands_[k].bottom == bands_[k + 1].top && bands_[k].sameState(bands_[k + 1])) {
            bands_[k].bottom = bands_[k + 1].bottom;
            bands_.erase(bands_.begin() + static_cast<std::ptrdiff_t>(k) + 1);
            --end;
        } else {
            ++k;
        }
    }
}

void FillTracker::removePending(Band& band, int index) {
    band.pending[static_cast<std::size_t>(index)] =
        band.pending[static_cast<std::size_t>(--band.pendingCount)];
}

void FillTracker::paintSpan(Band& band, const Span& span, Batch& batch) {
    batch.add(band.top, band.bottom, span);
    Span& known = band.painted;
    if (!known.empty() && known.colour == span.colour && known.from <= span.to && known.to >= span.from) {
        known.from = std::min(known.from, span.from);
        known.to = std::max(known.to, span.to);
        return;
    }
    const Span rest = cut(known, span.from, span.to);
    known = (rest.empty() || rest.to - rest.from < span.to - span.from) ? span : rest;
}

void FillTracker::addPending(Band& band, const Span& span, Batch& batch) {
    Span merged = span;
    for (int k = 0; k < band.pendingCount;) {
        const Span& p = band.pending[static_cast<std::size_t>(k)];
        if (p.colour == merged.colour && (p.to == merged.from || p.from == merged.to)) {
            merged.from = std::min(merged.from, p.from);
            merged.to = std::max(merged.to, p.to);
            removePending(band, k);
            k = 0;
        } else {
            ++k;
        }
    }
    if (band.pendingCount == kMaxPending) {
        paintSpan(band, merged, batch);
        return;
    }
    band.pending[static_cast<std::size_t>(band.pendingCount++)] = merged;
}

// Takes every waiting span out of [left, right): what lies inside goes to
// inside(span), the pieces outside wait on.
template <typename Inside>
void FillTracker::cutPending(Band& band, int left, int right, Batch& batch, Inside inside) {
    for (int k = 0; k < band.pendingCount;) {
        const Span p = band.pending[static_cast<std::size_t>(k)];
        if (p.to <= left || p.from >= right) {
            ++k;
            continue;
        }
        removePending(band, k);
        inside(Span{std::max(p.from, left), std::min(p.to, right), p.colour});
        if (p.from < left) addPending(band, Span{p.from, left, p.colour}, batch);
        if (p.to > right) addPending(band, Span{right, p.to, p.colour}, batch);
        k = 0;  // the pieces moved; the ones just added lie outside
    }
}

void FillTracker::fillBand(Band& band, int left, int right, std::uint32_t colour, Batch& batch) {
    // The new fill hides what waits beneath it.
    cutPending(band, left, right, batch, [](const Span&) {});
    // Only what does not hold the colour yet needs painting.
    const Span known = band.painted;
    if (!known.empty() && known.colour == colour && known.from < right && known.to > left) {
        if (left < known.from) addPending(band, Span{left, known.from, colour}, batch);
        if (known.to < right) addPending(band, Span{known.to, right, colour}, batch);
    } else {
        addPending(band, Span{left, right, colour}, batch);
    }
}

void FillTracker::touchBand(Band& band, int left, int right, Batch& batch) {
    cutPending(band, left, right, batch, [&](const Span& inside) { paintSpan(band, inside, batch); });
    band.painted = cut(band.painted, left, right);
}

void FillTracker::fill(int left, int top, int right, int bottom, std::uint32_t colour, Sink& sink) {
    if (!clip(left, top, right, bottom)) return;
    const auto [first, last] = bandsFor(top, bottom);
    {
        Batch batch(sink);
        for (std::size_t k = first; k < last; ++k) fillBand(bands_[k], left, right, colour, batch);
    }
    coalesce(first, last);
}

void FillTracker::touch(int left, int top, int right, int bottom, Sink& sink) {
    if (!clip(left, top, right, bottom)) return;
    const auto [first, last] = bandsFor(top, bottom);
    {
        Batch batch(sink);
        for (std::size_t k = first; k < last; ++k) touchBand(bands_[k], left, right, batch);
    }
    coalesce(first, last);
}

void FillTracker::flush(Sink& sink) {
    {
        Batch batch(sink);
        for (Band& band : bands_) {
            for (int k = 0; k < band.pendingCount; ++k)
                paintSpan(band, band.pending[static_cast<std::size_t>(k)], batch);
            band.pendingCount = 0;
        }
    }
    coalesce(0, bands_.size());
}

}  // namespace varnet::ui
