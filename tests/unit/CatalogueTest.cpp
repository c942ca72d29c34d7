#include "BuiltinTexts.h"
#include "Catalogue.h"
#include "EngineFakes.h"

#include <gtest/gtest.h>

using namespace varnet;

namespace {

class FakeWindow : public CatalogueWindow {
public:
    std::optional<std::int32_t> selectedNodeIndex() const override { return selected; }
    void setCaption(const std::string& c) override { caption = c; }
    void notice(const std::string& t) override { notices.push_back(t); }
    void error(const std::string& t) override { notices.push_back(t); }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void setOpenDialogFileName(const std::string& n) override { dialogName = n; }
    void setIndexTabVisible(bool v) override { indexTab = v; }
    void resetIndexPage() override { ++indexResets; }
    void showReadingPage() override { ++readingShown; }

    std::optional<std::int32_t> selected;
    std::string caption = "Varnet", dialogName;
    std::vector<std::string> notices;
    bool indexTab = false;
    int indexResets = 0, readingShown = 0;
};

struct Fixture {
    ReaderState st;
    FakeWindow window;
    std::vector<std::pair<std::string, std::string>> opened;
    int closings = 0;
    varnet::testing::FakeCatalogueHost host{
        [this] { ++closings; },
        [this](const std::string& name, const std::string& anchor) {
            opened.emplace_back(name, anchor);
            st.OpenFileName = name;
        },
        [](const std::string& path) { return path == "/opt/v/fable.qdx"; }};
    CatalogueClick click{st, window, host};
    Fixture() {
        st.BookFolder = "/opt/v/";
        st.CatalogueLines = builtinCatalogueRows();
    }
    void clickRow(std::int32_t row) {
        window.selected = row;
        click.TOCTreeViewClick();
    }
};

std::string trimmedCaption(std::string_view row) {
    const std::string caption(row.substr(0, row.find("<<")));
    return caption.substr(0, caption.find_last_not_of(' ') + 1);
}

}  // namespace

TEST(Catalogue, BuiltinRows) {
    const LineList rows = builtinCatalogueRows();
    ASSERT_EQ(rows.count(), 55);
    const auto& info = demoBookInfo();
    EXPECT_EQ(rows[0], "Mirrowen  <<0none");
    EXPECT_EQ(rows[1], "Listed by Title       <<1title");
    EXPECT_EQ(rows[2].find("<<2fable"), 64u);
    EXPECT_EQ(trimmedCaption(rows[2]), info.title.substr(info.title.find(' ') + 1) + ", by " + info.author);
    EXPECT_EQ(rows[27], std::string("Listed by Author") + std::string(48, ' ') + "<<1author");
    EXPECT_EQ(rows[28].find("<<2kyr "), 64u);
    EXPECT_EQ(trimmedCaption(rows[29]), info.title + ", by " + info.author);
    EXPECT_EQ(rows[54], "(END)");
    const auto& titles = info.chapterTitles;
    ASSERT_EQ(titles.size(), 24u);
    ASSERT_EQ(rows[3].substr(0, 4), "1.  ");
    for (int n = 1; n <= static_cast<int>(titles.size()); ++n) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, "<<3fable@refpt%03d", n);
        EXPECT_EQ(rows[2 + n], std::to_string(n) + ".  " + titles[static_cast<std::size_t>(n - 1)] + suffix);
        std::snprintf(suffix, sizeof suffix, "<<4fable@refpt%03d", n);
        EXPECT_EQ(rows[29 + n].substr(rows[29 + n].find("<<")), suffix);
    }
    EXPECT_EQ(applicationTitleFrom(rows), "Mirrowen");
}

TEST(Catalogue, TreeShapeFollowsTheLevels) {
    const auto nodes = buildCatalogueTree(builtinCatalogueRows());
    ASSERT_EQ(nodes.size(), 54u);
    // Depth-first order equals row order, so node i is row i.
    EXPECT_EQ(nodes[0].parent, -1);
    EXPECT_EQ(nodes[1].parent, 0);
    EXPECT_EQ(nodes[2].parent, 1);
    EXPECT_EQ(nodes[3].parent, 2);
    EXPECT_EQ(nodes[26].parent, 2);
    EXPECT_EQ(nodes[27].parent, 0);
    EXPECT_EQ(nodes[28].parent, 27);
    EXPECT_EQ(nodes[29].parent, 28);
    EXPECT_EQ(nodes[53].parent, 29);
    EXPECT_EQ(nodes[0].text, "Mirrowen  ");  // the caption exactly as stored

    // Every level character: a level with no parent yet goes to the top; a
    // deeper row hangs under the last level-5 node and never becomes a parent.
    const auto odd = buildCatalogueTree(LineList({"a<<2x", "b<<0y", "c<<9z", "d<<1w", "e<<2v", "f<<3u",
                                                  "g<<4t", "h<<5s", "i<<7r", "j<<6q", "no marker", "k<<"}));
    const std::vector<std::int32_t> parents = {-1, -1, -1, 1, 3, 4, 5, 6, 7, 7, 7};
    ASSERT_EQ(odd.size(), parents.size());
    for (std::size_t i = 0; i < parents.size(); ++i) EXPECT_EQ(odd[i].parent, parents[i]) << i;
}

TEST(Catalogue, SeedAndStartingSelection) {
    const LineList rows = builtinCatalogueRows();
    EXPECT_EQ(seedBookmarkLines(rows).strings(),
              (std::vector<std::string>{"<<none", "<<title", "<<fable", "<<author"}));
    EXPECT_EQ(byAuthorRow(rows), 27);
    // Without the by-author row the seeding walks to the row before the last.
    EXPECT_EQ(seedBookmarkLines(LineList({"A<<0one", "B<<1two ", "C<<2x@y", "(END)<<0last"})).strings(),
              (std::vector<std::string>{"<<one", "<<two "}));
    EXPECT_FALSE(byAuthorRow(LineList({"a<<1author", "(END)"})));
}

TEST(Catalogue, RowResolution) {
    struct Case {
        std::int32_t row;
        std::string opened, anchor, title;
    };
    const LineList rows = builtinCatalogueRows();
    const std::string book2 = trimmedCaption(rows[2]);
    const std::string book29 = trimmedCaption(rows[29]);
    const std::vector<Case> cases = {
        {0, "/opt/v/none.qtx", "00000", "Mirrowen"},
        {1, "/opt/v/title.qtx", "00000", "Listed by Title"},
        {2, "/opt/v/fable.qtx", "00000", book2},
        {3, "/opt/v/fable.qtx", "refpt001", book2},
        {6, "/opt/v/fable.qtx", "refpt004", book2},
        {27, "/opt/v/author.qtx", "00000", "Listed by Author"},
        {28, "/opt/v/kyr.qtx", "00000", demoBookInfo().author},
        {29, "/opt/v/fable.qtx", "00000", book29},
        {33, "/opt/v/fable.qtx", "refpt004", book29},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        Fixture f;
        f.clickRow(c.row);
        ASSERT_EQ(f.opened.size(), 1u);
        EXPECT_EQ(f.opened[0], (std::pair<std::string, std::string>{c.opened, c.anchor}));
        EXPECT_EQ(f.st.BookTitle, c.title);
        EXPECT_EQ(f.window.caption, "Varnet -- " + c.title);
        EXPECT_EQ(f.window.dialogName, c.opened);
        EXPECT_EQ(f.window.readingShown, 1);
        EXPECT_EQ(f.window.indexTab, c.opened == "/opt/v/fable.qtx");
        EXPECT_EQ(f.st.IndexPath, c.opened == "/opt/v/fable.qtx" ? "/opt/v/fable.qdx" : "");
        ASSERT_TRUE(f.st.DemoText);
    }
}

TEST(Catalogue, RowsThatOpenNothing) {
    Fixture f;
    f.st.CatalogueLines = LineList({"Root<<0none", "Empty<<2", "Blank<<3   ", "(END)"});
    f.clickRow(1);
    EXPECT_EQ(f.window.notices, std::vector<std::string>{"Not here yet"});
    EXPECT_EQ(f.window.caption, "Varnet -- Empty");
    f.clickRow(2);
    f.clickRow(9);  // a node without a row
    EXPECT_EQ(f.window.caption, "Varnet");
    EXPECT_EQ(f.st.BookTitle, " ");
    EXPECT_EQ(f.window.notices.size(), 3u);
    EXPECT_TRUE(f.opened.empty());
}

TEST(Catalogue, ToggleClicksAndTheFirstClick) {
    Fixture f;
    f.click.TOCTreeViewExpanded();  // start-up expands nodes itself
    f.clickRow(0);
    EXPECT_TRUE(f.opened.empty());
    EXPECT_FALSE(f.st.TreeToggled);
    // The first effective click, on the welcome row, finds the welcome text
    // already counted as open: the index page is not reset.
    f.clickRow(0);
    ASSERT_EQ(f.opened.size(), 1u);
    EXPECT_EQ(f.window.indexResets, 0);
    f.clickRow(4);  // another text: the index page is reset
    EXPECT_EQ(f.window.indexResets, 1);
    f.clickRow(5);  // another chapter of the same text: it is not
    EXPECT_EQ(f.window.indexResets, 1);
    // A double click clears the flag and opens.
    f.click.TOCTreeViewCollapsed();
    f.window.selected = 1;
    f.click.TOCTreeViewDblClick();
    EXPECT_EQ(f.opened.back().first, "/opt/v/title.qtx");
}

TEST(Catalogue, LeavingAPagedTextWritesItsClosingBookmark) {
    Fixture f;
    f.clickRow(2);
    f.st.ReadingMoved = true;
    f.clickRow(1);
    EXPECT_EQ(f.closings, 1);
    EXPECT_FALSE(f.st.ReadingMoved);
    f.clickRow(2);
    EXPECT_EQ(f.closings, 1);
}
