#include "LineList.h"

#include <gtest/gtest.h>

using varnet::LineList;

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
        EXPECT_EQ(LineList::fromBytes(c.bytes).lines(), c.lines);
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
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"B", "c", "d", "e"}));
    LineList other({"x"});
    other.append(list);
    EXPECT_EQ(other.count(), 5);
    other.clear();
    EXPECT_TRUE(other.empty());
}
