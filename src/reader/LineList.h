// An ordered list of 8-bit text lines: the one container for texts, catalogue
// rows, bookmark lines and word-index lines. Lines never hold line-end bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnet {

class LineList {
public:
    LineList() = default;
    explicit LineList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    // Splits text into lines at CR LF, CR or LF. A final line end does not
    // open an empty last line; text without any line end is one line.
    static LineList fromBytes(std::string_view bytes);
    // Every line followed by CR LF, the last one included.
    std::string toBytes() const;

    std::int32_t count() const { return static_cast<std::int32_t>(lines_.size()); }
    bool empty() const { return lines_.empty(); }
    const std::string& get(std::int32_t i) const { return lines_[static_cast<std::size_t>(i)]; }
    const std::string& operator[](std::int32_t i) const { return get(i); }
    void put(std::int32_t i, std::string line) { lines_[static_cast<std::size_t>(i)] = std::move(line); }
    void insert(std::int32_t i, std::string line);
    void erase(std::int32_t i);
    void add(std::string line) { lines_.push_back(std::move(line)); }
    void append(const LineList& other);
    void clear() { lines_.clear(); }
    void reserve(std::size_t n) { lines_.reserve(n); }

    const std::vector<std::string>& lines() const { return lines_; }
    std::vector<std::string>& lines() { return lines_; }

    bool operator==(const LineList& other) const = default;

private:
    std::vector<std::string> lines_;
};

}  // namespace varnet
