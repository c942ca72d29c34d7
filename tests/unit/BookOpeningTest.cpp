#include "BookOpening.h"
#include "BuiltinTexts.h"
#include "EngineFakes.h"
#include "OpenedText.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

using namespace varnet;

namespace {

struct Fixture {
    ReaderState st;
    std::vector<std::pair<std::string, std::string>> asked;
    std::vector<std::string> errors;
    bool answer = false;
    int loads = 0;
    std::vector<std::int32_t> drawn;
    // What the bookmark drop-down would leave: lines, section, end.
    std::optional<LineList> marks;
    std::int32_t section = 0, sectionEnd = 0;

    varnet::testing::FakeOpeningHost host{[this] {
                                              ++loads;
                                              if (marks) {
                                                  st.BookmarkLines = marks;
                                                  st.BookmarkSection = section;
                                                  st.BookmarkSectionEnd = sectionEnd;
                                              }
                                          },
                                          [this](const std::string& m, const std::string& t) {
                                              asked.emplace_back(m, t);
                                              return answer;
                                          },
                                          [this](const std::string& e) { errors.push_back(e); },
                                          [this](std::int32_t line) {
                                              drawn.push_back(line);
                                              st.TopLine = line;
                                              return line + 1;
                                          }};
    BookOpening opening{st, host};
    Fixture() { st.BookFolder = "/opt/varnet/"; }
};

}  // namespace

TEST(OpenBook, DemoBookAtAnAnchor) {
    Fixture f;
    BuildDemoText(f.st);
    const std::string name = f.st.BookFolder + "fable.qtx";
    f.marks = LineList({"<<none", "<<fable", "#500 Lion", "<<author"});
    f.section = 1;
    f.sectionEnd = 3;
    f.opening.OpenBook(name, "refpt001");
    const LineList& text = *f.st.CurrentText;
    EXPECT_EQ(text.count(), f.st.DemoText->count() + 2);
    EXPECT_EQ(f.st.BookKey, "fable");
    EXPECT_EQ(f.st.OpenFileName, name);
    std::int32_t anchor = -1;
    for (std::int32_t i = 0; i < text.count(); ++i)
        if (text[i] == "|refpt001> ") anchor = i;
    ASSERT_GE(anchor, 0);
    // The stored anchor line is one further down: the header is gone.
    EXPECT_EQ((*f.st.DemoText)[anchor + 1], "l00|refpt001> ");
    EXPECT_EQ(f.drawn, std::vector<std::int32_t>{anchor + 1});
    // The bookmark lines are loaded, so that leaving the chapter keeps its
    // place, but an anchor makes no resume offer.
    EXPECT_EQ(f.loads, 1);
    EXPECT_TRUE(f.asked.empty());
    // The ending of every opened text.
    EXPECT_EQ(text[text.count() - 3], "p999");
    EXPECT_EQ(text[text.count() - 2], "        END OF FILE");
    EXPECT_EQ(text[text.count() - 1], " ");

    // The same call again: not reloaded, the same panel.
    f.st.CurrentText->put(0, "marked");
    f.opening.OpenBook(name, "refpt001");
    EXPECT_EQ((*f.st.CurrentText)[0], "marked");
    EXPECT_EQ(f.drawn.back(), anchor + 1);

    f.opening.OpenBook(name, "refpt999");  // no such anchor: from line 0
    EXPECT_EQ(f.drawn.back(), 0);
}

TEST(OpenBook, ShortPagesByKey) {
    struct Case {
        std::string file;
        std::string key;
        int lines;
        std::string first;
    };
    const std::vector<Case> cases = {
        {"/opt/varnet/title.qtx", "title", 10, ""},
        {"/opt/varnet/none.qtx", "none", 33, "     Welcome to Stilo!"},
        {"/opt/varnet/author.qtx", "author", 10, ""},
        {"/opt/varnet/kyr.qtx", "kyr", 7, "|b>"},
        {"/opt/varnet/fable", "", 7, "|b>"},            // no "." : the empty key, the author page
        {"/opt/var.net/Title.QTX", "Title", 7, "|b>"},  // keys are compared exactly
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Fixture f;
        f.opening.OpenBook(c.file, "00000");
        EXPECT_EQ(f.st.BookKey, c.key);
        EXPECT_EQ(f.st.CurrentText->count(), c.lines);
        EXPECT_EQ((*f.st.CurrentText)[0], c.first);
        EXPECT_EQ(f.loads, 1);
        EXPECT_TRUE(f.asked.empty());
    }
    Fixture f;
    f.opening.OpenBook("/opt/varnet/title.qtx", " ");
    EXPECT_EQ(
        f.st.CurrentText->strings(),
        (std::vector<std::string>{"", "   This is a list", "      of books listed", "        by the title",
                                  "       of the book.", "", "", "p999", "        END OF FILE", " "}));
    Fixture a;
    a.opening.OpenBook("kyr.qtx", "");
    EXPECT_EQ((*a.st.CurrentText)[1], "    " + demoBookInfo().authorEntry);
}

TEST(OpenBook, ResumeOffer) {
    struct Case {
        const char* name;
        std::vector<std::string> marks;
        std::int32_t section, end;
        bool answer;
        std::int32_t start;
        bool asked;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"Yes resumes",
         {"<<none", "<<fable", "#1234 Closed book at today", "<<author"},
         1,
         3,
         true,
         1234,
         true,
         ""},
        {"No starts at the top", {"<<none", "<<fable", "#1234 Lion", "<<author"}, 1, 3, false, 0, true, ""},
        {"an empty section asks nothing", {"<<none", "<<fable", "<<author"}, 1, 2, true, 0, false, ""},
        {"a section at the end asks nothing", {"<<none", "<<fable"}, 1, 2, true, 0, false, ""},
        {"a bad number still opens the book",
         {"<<none", "<<fable", "#12a x", "<<author"},
         1,
         3,
         true,
         0,
         false,
         "'12a' is not a valid integer value"},
        {"a negative number opens at the top",
         {"<<none", "<<fable", "#-9 x", "<<author"},
         1,
         3,
         true,
         0,
         true,
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.marks = LineList(c.marks);
        f.section = c.section;
        f.sectionEnd = c.end;
        f.answer = c.answer;
        f.opening.OpenBook("/opt/varnet/fable.qtx", "00000");
        EXPECT_EQ(f.drawn.back(), c.start);
        EXPECT_EQ(!f.asked.empty(), c.asked);
        if (c.asked) {
            EXPECT_EQ(f.asked[0].second, "Do you want to start reading where you last closed the file?");
            EXPECT_EQ(f.asked[0].first, c.marks[2].substr(c.marks[2].find(' ') + 1));
        }
        EXPECT_EQ(f.errors, c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
    }
    // The offer is made again without a reload.
    Fixture f;
    f.marks = LineList({"<<none", "<<fable", "#50 x", "<<author"});
    f.section = 1;
    f.sectionEnd = 3;
    f.opening.OpenBook("/opt/varnet/fable.qtx", "");
    f.opening.OpenBook("/opt/varnet/fable.qtx", " ");
    EXPECT_EQ(f.asked.size(), 2u);
}

// Named on the command line, the demo book opens before any catalogue click
// built it: it is the same text, read straight from the built-in one.
TEST(OpenBook, CommandLineFableOpensTheDemoBookBeforeItIsBuilt) {
    Fixture f;
    ASSERT_FALSE(f.st.DemoText);
    f.opening.OpenBook("fable.qtx", " ");
    const LineList demo = demoBookText();
    EXPECT_EQ(f.st.CurrentText->count(), demo.count() + 2);
    EXPECT_EQ((*f.st.CurrentText)[0], normaliseLine(demo[1]));
    // The same as opening it after a click built it.
    Fixture clicked;
    BuildDemoText(clicked.st);
    clicked.opening.OpenBook("fable.qtx", " ");
    EXPECT_EQ(f.st.CurrentText->strings(), clicked.st.CurrentText->strings());
}

TEST(OpenedText, EndsEveryTextAlikeAndNormalisesItsIndents) {
    struct Case {
        const char* name;
        std::vector<std::string> stored;
        std::vector<std::string> opened;
    };
    const std::vector<Case> cases = {
        {"empty", {}, {"p999", "        END OF FILE", " "}},
        {"header alone", {"[x]"}, {"p999", "        END OF FILE", " "}},
        {"blank and control lines at the end",
         {"[x]", "l03one", "   ", "", "\t\x01"},
         {"   one", "p999", "        END OF FILE", " "}},
        {"nothing but blanks after the header", {"[x]", " ", ""}, {"p999", "        END OF FILE", " "}},
        {"codes cut short and other lines kept",
         {"[x]", "l", "l1x", "p2 ", "  l05 kept", "l99deep"},
         {"", " ", "p2 ", "  l05 kept", std::string(52, ' ') + "deep", "p999", "        END OF FILE", " "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(openedText(LineList(c.stored)).strings(), c.opened);
    }
}

// A kept book opens straight from its bytes, split as any text is.
TEST(OpenedText, FromBytesAsFromTheirLines) {
    const std::vector<std::string> cases = {
        "",
        "\n",
        "h",
        "h\r\nl05x\r\n \r\n",
        "h\rl03one\rp1 \r\r",
        "h\nl02a\rl04b\nc",
        "h\nl12 no line end",
        "h\nl",
        "h\nl9",
        std::string("h\nl01\0nul\n", 11),
    };
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(openedTextOfBytes(bytes).strings(), openedText(LineList::fromBytes(bytes)).strings());
    }
    EXPECT_EQ(openedTextOfBytes("h\r\nl05x\r\n \r\n").strings(),
              (std::vector<std::string>{"     x", "p999", "        END OF FILE", " "}));
}

// The demo book's opened form is made by the build; it must be exactly what
// opening the stored book makes of it, and it is what opening it gives.
TEST(OpenedText, TheBuiltDemoBookIsWhatOpeningTheStoredOneMakes) {
    const LineList built = openedDemoBookText();
    EXPECT_EQ(built, openedText(demoBookText()));
    EXPECT_EQ(built.count(), demoBookText().count() + 2);
    Fixture f;
    f.opening.OpenBook("fable.qtx", " ");
    EXPECT_EQ(*f.st.CurrentText, built);
}
