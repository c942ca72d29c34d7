#include "LineList.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

using varnet::LineList;
using Lines = std::vector<std::string>;

TEST(LineList, SplitsAtEveryKindOfLineEnd) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"one", {"one"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"a\r\r\n", {"a", ""}},
        {"\r\n", {""}},
        {"x\n\n", {"x", ""}},
        {std::string("n\0ul\n", 5), {std::string("n\0ul", 4)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(LineList::fromBytes(c.bytes).strings(), c.lines);
    }
}

TEST(LineList, SavingEndsEveryLineWithCrLfAndRoundTrips) {
    const LineList list({"[x]", "", "  a b  ", "\xE9t\xE9"});
    EXPECT_EQ(list.toBytes(), "[x]\r\n\r\n  a b  \r\n\xE9t\xE9\r\n");
    EXPECT_EQ(LineList::fromBytes(list.toBytes()), list);
    EXPECT_EQ(LineList().toBytes(), "");
}

TEST(LineList, EditsKeepOrder) {
    LineList list({"a", "c"});
    list.insert(1, "b");
    list.insert(3, "d");
    list.add("e");
    list.erase(0);
    list.put(0, "B");
    EXPECT_EQ(list.strings(), (std::vector<std::string>{"B", "c", "d", "e"}));
    LineList other({"x"});
    other.append(list);
    EXPECT_EQ(other.count(), 5);
    other.clear();
    EXPECT_TRUE(other.empty());
}

// The lines lie back to back, so a change in the middle moves every line
// after it: each must still read whole and in place.
TEST(LineList, EditsInTheMiddleMoveTheLinesAfterThem) {
    LineList list({"alpha", "", "gamma", "delta"});
    list.put(1, "a much longer second line");
    EXPECT_EQ(list.strings(), (Lines{"alpha", "a much longer second line", "gamma", "delta"}));
    list.put(0, "");
    list.put(2, "g");
    EXPECT_EQ(list.strings(), (Lines{"", "a much longer second line", "g", "delta"}));
    list.insert(2, "inserted");
    list.erase(1);
    list.insert(0, "");
    EXPECT_EQ(list.strings(), (Lines{"", "", "inserted", "g", "delta"}));
    EXPECT_EQ(list.back(), "delta");
    EXPECT_EQ(list.toBytes(), "\r\n\r\ninserted\r\ng\r\ndelta\r\n");
    // A line given from the list itself survives the list growing under it.
    for (int k = 0; k < 40; ++k) list.add(list[2]);
    EXPECT_EQ(list[44], "inserted");
    list.append(list);
    EXPECT_EQ(list.count(), 90);
    EXPECT_EQ(list[89], "inserted");
}

TEST(LineList, ABorrowedTableIsReadInPlaceAndCopiedAtItsFirstChange) {
    static constexpr std::string_view joined = "onetwothree";
    static constexpr std::array<std::uint32_t, 4> ends = {3, 6, 6, 11};
    const LineList borrowed = LineList::borrowing({joined, ends});
    EXPECT_EQ(borrowed.strings(), (Lines{"one", "two", "", "three"}));
    EXPECT_EQ(borrowed[3].data(), joined.data() + 6);  // no copy
    EXPECT_EQ(borrowed, LineList({"one", "two", "", "three"}));
    EXPECT_NE(borrowed, LineList({"one", "two", "three", ""}));

    LineList changed = borrowed;
    changed.put(2, "middle");
    changed.add("four");
    EXPECT_EQ(changed.strings(), (Lines{"one", "two", "middle", "three", "four"}));
    EXPECT_EQ(borrowed.strings(), (Lines{"one", "two", "", "three"}));
    EXPECT_EQ(joined, "onetwothree");

    LineList emptied = borrowed;
    emptied.clear();
    EXPECT_TRUE(emptied.empty());
    EXPECT_EQ(borrowed.count(), 4);

    // Cutting, erasing and inserting at the end copy first too.
    LineList cut = borrowed;
    cut.truncate(2);
    cut.erase(0);
    cut.insert(cut.count(), "end");
    EXPECT_EQ(cut.strings(), (Lines{"two", "end"}));
    EXPECT_EQ(borrowed.strings(), (Lines{"one", "two", "", "three"}));
}

// A line handed back to its own list must be read before the list moves its
// bytes: every edit, given every line, against the same edit on strings.
TEST(LineList, EveryEditTakesALineOfItsOwnList) {
    const std::vector<std::string> start = {std::string(100, 'x'), "b", "c"};
    using Edit = void (*)(LineList&, std::vector<std::string>&, std::int32_t);
    const std::vector<std::pair<const char*, Edit>> edits = {
        {"add",
         [](LineList& l, std::vector<std::string>& v, std::int32_t k) {
             l.add(l[k]);
             v.push_back(v[static_cast<std::size_t>(k)]);
         }},
        {"add with blanks",
         [](LineList& l, std::vector<std::string>& v, std::int32_t k) {
             l.add(3, l[k]);
             v.push_back("   " + v[static_cast<std::size_t>(k)]);
         }},
        {"put",
         [](LineList& l, std::vector<std::string>& v, std::int32_t k) {
             l.put(1, l[k]);
             v[1] = std::string(v[static_cast<std::size_t>(k)]);
         }},
        {"insert",
         [](LineList& l, std::vector<std::string>& v, std::int32_t k) {
             l.insert(0, l[k]);
             v.insert(v.begin(), std::string(v[static_cast<std::size_t>(k)]));
         }},
    };
    for (const auto& [name, edit] : edits) {
        for (std::int32_t k = 0; k < 3; ++k) {
            SCOPED_TRACE(std::string(name) + " line " + std::to_string(k));
            LineList list(start);  // filled exactly: the edit must grow it
            std::vector<std::string> expected = start;
            edit(list, expected, k);
            EXPECT_EQ(list.strings(), expected);
        }
    }
}
