#include "LineList.h"

#include <algorithm>

namespace varnet {

LineList LineList::fromBytes(std::string_view bytes) {
    LineList list;
    // One allocation for the list as a rule: lines end in LF or CR LF, or,
    // in a file without LF, in CR.
    auto ends = std::count(bytes.begin(), bytes.end(), '\n');
    if (ends == 0) ends = std::count(bytes.begin(), bytes.end(), '\r');
    list.lines_.reserve(static_cast<std::size_t>(ends) + 1);
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            list.lines_.emplace_back(bytes.substr(start, i - start));
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n) list.lines_.emplace_back(bytes.substr(start));
    return list;
}

std::string LineList::toBytes() const {
    std::size_t total = 0;
    for (const auto& l : lines_) total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& l : lines_) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void LineList::insert(std::int32_t i, std::string line) {
    lines_.insert(lines_.begin() + i, std::move(line));
}

void LineList::erase(std::int32_t i) {
    lines_.erase(lines_.begin() + i);
}

void LineList::append(const LineList& other) {
    lines_.insert(lines_.end(), other.lines_.begin(), other.lines_.end());
}

}  // namespace varnet
