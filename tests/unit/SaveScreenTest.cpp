#include "BuiltinTexts.h"
#include "SaveScreen.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace varnet;

TEST(SaveScreen, StartupPanel) {
    ReaderState st;
    st.CurrentText = startupInstructions();
    st.TopLine = 0;
    st.NextLine = 17;
    const LineList saved = screenLinesToSave(st);
    ASSERT_EQ(saved.count(), 18);
    std::string expected;
    for (std::int32_t i = 0; i < 18; ++i) {
        EXPECT_EQ(saved[i], startupInstructions()[i]);
        expected += startupInstructions()[i];
        expected += "\r\n";
    }
    EXPECT_EQ(saved[0], " ");
    EXPECT_EQ(saved[2], "       from the Table of Contents");
    EXPECT_EQ(savedScreenBytes(st), expected);
    EXPECT_EQ(st.TopLine, 0);
    EXPECT_EQ(st.NextLine, 17);
}

TEST(SaveScreen, EachLineOnItsOwn) {
    struct Case {
        std::string line;
        std::optional<std::string> written;
    };
    const std::vector<Case> cases = {
        {"            |9>the demo book|4> ", "            the demo book "},
        {"     the  |7>Lion|4>   went free ", "     the  Lion   went free "},
        {"|b>3.  The North Wind and the Sun|n> ", "3.  The North Wind and the Sun "},
        {"|p> ", " "},
        {"", ""},
        {"s000 ", std::nullopt},
        {"s000", std::nullopt},
        {"p000", std::nullopt},
        {"p002 ", std::nullopt},
        {"p999", std::nullopt},
        // A line that holds an image tag, wherever it stands, is left out.
        {"|image>fox.png", std::nullopt},
        {"     the fox |image>fox.png", std::nullopt},
        {"|b>|im>", std::nullopt},
        // A ">" among the words is no tag: after the tag step these lines hold
        // "age>", and they are kept.
        {"     the stage>door ", "     the stage>door "},
        {"|i>image>|n> ", "image> "},
        {"||image>", "mage>"},  // the second bar is inside the first tag
        // Left out as well, though their trimmed form is not four long.
        {"p1000 ", std::nullopt},
        {"p1110", std::nullopt},
        {"p00by A. Writer 1 ", std::nullopt},
        {"|refpt001> ", std::nullopt},
        {"|refpt024>", std::nullopt},
        // Not markers: the "p" or "s" is not the line's first character.
        {"     p1000 ", "     p1000 "},
        {"     s000 ", "     s000 "},
        {"|b>p4 ran ahead|n> ", "p4 ran ahead "},
        {"|b>p4", "p4"},
        {"|b>p4ab|n>", "p4ab"},
        {"|7>seal|4>", "seal"},
        {"|9>s000", "s000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const LineList saved = screenLinesToSave(LineList({c.line}), 0, 0);
        if (c.written) {
            ASSERT_EQ(saved.count(), 1);
            EXPECT_EQ(saved[0], *c.written);
        } else {
            EXPECT_TRUE(saved.empty());
        }
    }
}

TEST(SaveScreen, PanelRange) {
    const LineList text({
        "|refpt003> ",                            // 0
        "|b>3.  The North Wind and the Sun|n> ",  // 1
        "p008 ",                                  // 2
        "|p> ",                                   // 3
        "     The |9>Wind|4> and the Sun ",       // 4
        "          argued ",                      // 5
        "s000 ",                                  // 6
        "     which was the stronger. ",          // 7
        "p009 ",                                  // 8
        "     Then a traveller came ",            // 9
    });
    struct Case {
        std::int32_t top, next;
        std::vector<std::string> written;
    };
    const std::vector<Case> cases = {
        // Ended before a page marker: the marker is NextLine and is not written.
        {0,
         8,
         {"3.  The North Wind and the Sun ", " ", "     The Wind and the Sun ", "          argued ",
          "     which was the stronger. "}},
        // Cut where the surface was full: NextLine is a phrase and is written last.
        {3, 5, {" ", "     The Wind and the Sun ", "          argued "}},
        {9, 9, {"     Then a traveller came "}},
        // Only lines that exist are read.
        {7, 40, {"     which was the stronger. ", "     Then a traveller came "}},
        {-4, 1, {"3.  The North Wind and the Sun "}},
        {5, 4, {}},
        {0, -1, {}},
        {12, 15, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.top) + ".." + std::to_string(c.next));
        EXPECT_EQ(screenLinesToSave(text, c.top, c.next).strings(), c.written);
    }

    ReaderState st;
    st.NextLine = 3;
    EXPECT_EQ(savedScreenBytes(st), "");  // no text at all: an empty file
    st.CurrentText = text;
    st.TopLine = 2;
    EXPECT_EQ(savedScreenBytes(st), " \r\n");
}
