#include "LineList.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace varnet {

namespace {

// Offsets are kept in 32 bits, half the room of full-size ones: every text the
// reader takes in is capped far below 4 GiB.
std::uint32_t offset(std::size_t at) {
    if (at > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("line list over 4 GiB");
    return static_cast<std::uint32_t>(at);
}

}  // namespace

LineList::LineList(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size();
    reserve(lines.size(), total);
    for (const auto& line : lines) add(line);
}

LineList LineList::borrowing(LineTable table) {
    LineList list;
    list.table_ = table;
    list.borrowed_ = true;
    return list;
}

std::size_t LineList::mostLinesIn(std::string_view bytes) {
    auto lineEnds = std::count(bytes.begin(), bytes.end(), '\n');
    if (lineEnds == 0) lineEnds = std::count(bytes.begin(), bytes.end(), '\r');
    return static_cast<std::size_t>(lineEnds) + 1;
}

LineList LineList::fromBytes(std::string_view bytes) {
    LineList list;
    // One allocation each for the bytes and the ends.
    list.reserve(mostLinesIn(bytes), bytes.size());
    forEachLine(bytes, [&list](std::string_view line) { list.add(line); });
    return list;
}

std::string LineList::toBytes() const {
    std::string out;
    out.reserve(joined().size() + 2 * ends().size());
    for (const std::string_view line : *this) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string_view LineList::get(std::int32_t i) const {
    const auto at = static_cast<std::size_t>(i);
    const std::size_t start = startOf(at);
    return joined().substr(start, ends()[at] - start);
}

void LineList::own() {
    if (!borrowed_) return;
    bytes_.assign(table_.joined);
    ends_.assign(table_.ends.begin(), table_.ends.end());
    table_ = {};
    borrowed_ = false;
}

void LineList::shiftEnds(std::size_t from, std::ptrdiff_t delta) {
    if (delta == 0) return;
    for (std::size_t k = from; k < ends_.size(); ++k)
        ends_[k] = offset(static_cast<std::size_t>(static_cast<std::ptrdiff_t>(ends_[k]) + delta));
}

void LineList::put(std::int32_t i, std::string_view line) {
    own();
    const auto at = static_cast<std::size_t>(i);
    const std::size_t start = startOf(at);
    const std::size_t oldSize = ends_[at] - start;
    offset(bytes_.size() - oldSize + line.size());
    bytes_.replace(start, oldSize, line);
    shiftEnds(at, static_cast<std::ptrdiff_t>(line.size()) - static_cast<std::ptrdiff_t>(oldSize));
}

void LineList::insert(std::int32_t i, std::string_view line) {
    own();
    const auto at = static_cast<std::size_t>(i);
    const std::size_t start = startOf(at);
    offset(bytes_.size() + line.size());
    bytes_.insert(start, line);
    ends_.insert(ends_.begin() + i, static_cast<std::uint32_t>(start));
    shiftEnds(at, static_cast<std::ptrdiff_t>(line.size()));
}

void LineList::erase(std::int32_t i) {
    own();
    const auto at = static_cast<std::size_t>(i);
    const std::size_t start = startOf(at);
    const std::size_t size = ends_[at] - start;
    bytes_.erase(start, size);
    ends_.erase(ends_.begin() + i);
    shiftEnds(at, -static_cast<std::ptrdiff_t>(size));
}

void LineList::add(std::string_view line) {
    own();
    const std::uint32_t end = offset(bytes_.size() + line.size());
    bytes_.append(line);
    ends_.push_back(end);
}

void LineList::add(std::size_t blanks, std::string_view rest) {
    own();
    const std::uint32_t end = offset(bytes_.size() + blanks + rest.size());
    // The rest first: it may be a line of this very list, which the blanks
    // could move before it is read.
    const std::size_t start = bytes_.size();
    bytes_.append(rest);
    bytes_.insert(start, blanks, ' ');
    ends_.push_back(end);
}

void LineList::append(const LineList& other) {
    if (&other == this) {
        const LineList copy = other;
        append(copy);
        return;
    }
    reserve(other.ends().size(), other.joined().size());
    for (const std::string_view line : other) add(line);
}

void LineList::clear() {
    bytes_.clear();
    ends_.clear();
    table_ = {};
    borrowed_ = false;
}

void LineList::truncate(std::int32_t n) {
    if (n >= count()) return;
    if (n < 0) n = 0;
    own();
    bytes_.resize(startOf(static_cast<std::size_t>(n)));
    ends_.resize(static_cast<std::size_t>(n));
}

void LineList::reserve(std::size_t lines, std::size_t bytes) {
    own();
    // Exact for a list filled once; half as much again beyond that, so that
    // a list appended to piece by piece grows in few steps.
    const auto grow = [](auto& v, std::size_t more) {
        const std::size_t need = v.size() + more;
        if (need > v.capacity()) v.reserve(std::max(need, v.size() + v.size() / 2));
    };
    grow(bytes_, bytes);
    grow(ends_, lines);
}

std::vector<std::string> LineList::strings() const {
    return {begin(), end()};
}

bool LineList::operator==(const LineList& other) const {
    return std::ranges::equal(ends(), other.ends()) && joined() == other.joined();
}

}  // namespace varnet
