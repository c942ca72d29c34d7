// An ordered list of 8-bit text lines: the one container for texts, catalogue
// rows, bookmark lines and word-index lines. Lines never hold line-end bytes.
//
// The lines lie back to back in one block of bytes, with the offset where
// each ends beside them: a book of fourteen thousand lines is two allocations,
// not fourteen thousand. A list can also borrow a line table that lives as
// long as the program (a text compiled in), and holds nothing of its own until
// it is first changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnet {

// Lines laid back to back in `joined`; line i ends at ends[i] and starts where
// line i - 1 ends (line 0 at 0).
struct LineTable {
    std::string_view joined;
    std::span<const std::uint32_t> ends;
};

class LineList {
public:
    LineList() = default;
    explicit LineList(const std::vector<std::string>& lines);

    // A list reading `table` in place. The table must outlive every copy of
    // the list; the list makes a copy of its own at its first change.
    static LineList borrowing(LineTable table);

    // Splits text into lines at CR LF, CR or LF. A final line end does not
    // open an empty last line; text without any line end is one line.
    static LineList fromBytes(std::string_view bytes);
    // Calls f with each line of bytes, split as fromBytes splits them.
    template <class F>
    static void forEachLine(std::string_view bytes, F&& f);
    // An estimate of how many lines fromBytes makes of bytes, for reserving
    // room: one more than its LFs, or than its CRs when it has none.
    static std::size_t mostLinesIn(std::string_view bytes);
    // Every line followed by CR LF, the last one included.
    std::string toBytes() const;

    std::int32_t count() const { return static_cast<std::int32_t>(ends().size()); }
    bool empty() const { return ends().empty(); }
    // The bytes of all lines together, line ends not counted.
    std::size_t byteCount() const { return joined().size(); }
    std::string_view get(std::int32_t i) const;
    std::string_view operator[](std::int32_t i) const { return get(i); }
    std::string_view back() const { return get(count() - 1); }

    void put(std::int32_t i, std::string_view line);
    void insert(std::int32_t i, std::string_view line);
    void erase(std::int32_t i);
    void add(std::string_view line);
    // Adds a line of `blanks` blanks followed by `rest`.
    void add(std::size_t blanks, std::string_view rest);
    void append(const LineList& other);
    void clear();
    // Keeps the first `n` lines.
    void truncate(std::int32_t n);
    // Room for `lines` more lines holding `bytes` more bytes in all.
    void reserve(std::size_t lines, std::size_t bytes);

    // Copies of the lines, for callers that keep them as strings.
    std::vector<std::string> strings() const;

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return list_->get(static_cast<std::int32_t>(i_)); }
        std::string_view operator[](difference_type n) const { return *(*this + n); }
        const_iterator& operator++() {
            ++i_;
            return *this;
        }
        const_iterator operator++(int) {
            auto old = *this;
            ++i_;
            return old;
        }
        const_iterator& operator--() {
            --i_;
            return *this;
        }
        const_iterator operator--(int) {
            auto old = *this;
            --i_;
            return old;
        }
        const_iterator& operator+=(difference_type n) {
            i_ += n;
            return *this;
        }
        const_iterator& operator-=(difference_type n) {
            i_ -= n;
            return *this;
        }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return a.i_ - b.i_;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.i_ == b.i_; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.i_ <=> b.i_; }

    private:
        friend class LineList;
        const_iterator(const LineList* list, difference_type i) : list_(list), i_(i) {}
        const LineList* list_ = nullptr;
        difference_type i_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, count()}; }

    bool operator==(const LineList& other) const;

private:
    std::string_view joined() const { return borrowed_ ? table_.joined : std::string_view(bytes_); }
    std::span<const std::uint32_t> ends() const { return borrowed_ ? table_.ends : std::span(ends_); }
    std::size_t startOf(std::size_t i) const { return i == 0 ? 0 : ends()[i - 1]; }
    // Copies a borrowed table into the list's own storage before a change.
    void own();
    // Moves the ends of lines from `from` on by `delta` bytes.
    void shiftEnds(std::size_t from, std::ptrdiff_t delta);

    std::string bytes_;
    std::vector<std::uint32_t> ends_;
    LineTable table_;
    bool borrowed_ = false;
};

template <class F>
void LineList::forEachLine(std::string_view bytes, F&& f) {
    const std::size_t n = bytes.size();
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        // Every byte above CR is text: one comparison for nearly all of them.
        if (static_cast<unsigned char>(c) > '\r' || (c != '\n' && c != '\r')) continue;
        f(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) f(bytes.substr(start));
}

}  // namespace varnet
