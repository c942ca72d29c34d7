#include "Catalogue.h"

#include "BuiltinTexts.h"
#include "TextFormat.h"

namespace varnet {

namespace {

constexpr std::size_t kPaddedCaption = 64;
const std::string kMarker = "<<";

std::string padded(std::string caption) {
    if (caption.size() < kPaddedCaption) caption.resize(kPaddedCaption, ' ');
    return caption;
}

std::string withoutLeadingArticle(const std::string& title) {
    for (const char* article : {"The ", "A ", "An "}) {
        const std::string a(article);
        if (title.compare(0, a.size(), a) == 0) return title.substr(a.size());
    }
    return title;
}

std::string chapterRowPrefix(int chapter, const std::string& title) {
    return std::to_string(chapter) + ".  " + title;
}

}  // namespace

LineList builtinCatalogueRows() {
    const DemoBookInfo& info = demoBookInfo();
    const std::vector<std::string>& chapters = info.chapterTitles;
    LineList rows;
    rows.add("Mirrowen  <<0none");
    rows.add("Listed by Title       <<1title");
    rows.add(padded(withoutLeadingArticle(info.title) + ", by " + info.author) + "<<2fable");
    for (std::size_t n = 0; n < chapters.size(); ++n) {
        const int chapter = static_cast<int>(n) + 1;
        rows.add(chapterRowPrefix(chapter, chapters[n]) + "<<3fable@" + anchorName(chapter));
    }
    rows.add(padded("Listed by Author") + "<<1author");
    rows.add(padded(info.author) + "<<2kyr ");
    rows.add(padded(info.title + ", by " + info.author) + "<<3fable");
    for (std::size_t n = 0; n < chapters.size(); ++n) {
        const int chapter = static_cast<int>(n) + 1;
        rows.add(chapterRowPrefix(chapter, chapters[n]) + "<<4fable@" + anchorName(chapter));
    }
    rows.add("(END)");
    return rows;
}

std::string applicationTitleFrom(const LineList& rows) {
    if (rows.empty()) return {};
    const std::string_view row = rows[0];
    return std::string(trimmed(row.substr(0, row.find(kMarker))));
}

std::vector<CatalogueNode> buildCatalogueTree(const LineList& rows) {
    std::vector<CatalogueNode> nodes;
    std::int32_t lastOfLevel[6] = {-1, -1, -1, -1, -1, -1};
    for (const std::string_view row : rows) {
        const auto marker = row.find(kMarker);
        if (marker == std::string_view::npos) continue;
        const std::string caption(row.substr(0, marker));
        const char level = marker + 2 < row.size() ? row[marker + 2] : '\0';
        const auto id = static_cast<std::int32_t>(nodes.size());
        if (level == '0') {
            nodes.push_back({caption, -1});
            lastOfLevel[0] = id;
        } else if (level >= '1' && level <= '5') {
            const int l = level - '0';
            nodes.push_back({caption, lastOfLevel[l - 1]});
            lastOfLevel[l] = id;
        } else {
            // Deeper rows hang under the last level-5 node and never become
            // parents themselves.
            nodes.push_back({caption, lastOfLevel[5]});
        }
    }
    return nodes;
}

LineList seedBookmarkLines(const LineList& rows) {
    LineList seed;
    for (std::int32_t r = 0; r + 1 < rows.count(); ++r) {
        const std::string_view row = rows[r];
        const auto marker = row.find(kMarker);
        if (marker == std::string_view::npos) continue;
        const std::string_view rest = row.substr(marker);
        if (row.find('@') == std::string_view::npos) {
            std::string entry(rest);
            if (entry.size() > 2) entry.erase(2, 1);  // the level character
            seed.add(entry);
        }
        if (rest == "<<1author") break;
    }
    return seed;
}

std::optional<std::int32_t> byAuthorRow(const LineList& rows) {
    for (std::int32_t r = 1; r + 1 < rows.count(); ++r)
        if (rows[r].find("<<1author") != std::string::npos) return r;
    return std::nullopt;
}

RowDestination resolveRow(const LineList& rows, std::int32_t row) {
    RowDestination d;
    const std::string text(rows[row]);
    const auto marker = text.find(kMarker);
    if (marker != std::string::npos && marker + 3 <= text.size())
        d.targetKey = std::string(trimmed(std::string_view(text).substr(marker + 3)));
    std::int32_t titleRow = row;
    if (d.targetKey.find('@') != std::string::npos) {
        while (titleRow > 0 && rows[titleRow].find('@') != std::string::npos) --titleRow;
    }
    const std::string t(rows[titleRow]);
    d.bookTitle = std::string(trimmed(std::string_view(t).substr(0, t.find(kMarker))));
    return d;
}

void CatalogueClick::TOCTreeViewClick() {
    ReaderState& st = state_;
    if (st.TreeToggled) {
        st.TreeToggled = false;
        return;
    }
    const std::string folder = st.BookFolder;
    BuildDemoText(st);
    leaveOpenText(folder);

    if (const auto node = window_.selectedNodeIndex()) {
        st.CatalogueRow = *node;
        const std::int32_t rowCount = st.CatalogueLines ? st.CatalogueLines->count() : 0;
        if (st.CatalogueRow >= 0 && st.CatalogueRow < rowCount) {
            const RowDestination d = resolveRow(*st.CatalogueLines, st.CatalogueRow);
            st.TargetKey = d.targetKey;
            st.BookTitle = d.bookTitle;
            window_.setCaption(kCaption + std::string(kCaptionSeparator) + st.BookTitle);
        } else {
            st.TargetKey.clear();
            st.BookTitle = " ";
            window_.setCaption(kCaption);
        }
    }
    openTarget(folder);
}

void CatalogueClick::openOwnBook(const std::string& folder, const RowDestination& destination) {
    ReaderState& st = state_;
    leaveOpenText(st.BookFolder);
    st.TargetKey = destination.targetKey;
    st.BookTitle = destination.bookTitle;
    window_.setCaption(kCaption + std::string(kCaptionSeparator) + st.BookTitle);
    openTarget(folder);
}

void CatalogueClick::leaveOpenText(const std::string& folder) {
    ReaderState& st = state_;
    st.AnchorKey = "00000";
    if (st.OpenFileName.empty()) st.OpenFileName = folder + "none" + kTextExtension;
    if (st.ReadingMoved) {
        host_.WriteClosingBookmark();
        st.ReadingMoved = false;
    }
}

void CatalogueClick::openTarget(const std::string& folder) {
    ReaderState& st = state_;
    if (st.TargetKey.empty()) {
        window_.notice(kNotHereYet);
        return;
    }
    if (const auto at = st.TargetKey.find('@'); at != std::string::npos) {
        st.AnchorKey = st.TargetKey.substr(at + 1);
        st.TargetKey = st.TargetKey.substr(0, at);
    }
    const std::string destination = folder + st.TargetKey + kTextExtension;
    window_.setOpenDialogFileName(destination);

    st.IndexPath = folder + st.TargetKey + kIndexExtension;
    const bool hasIndex = host_.fileExists(st.IndexPath);
    if (!hasIndex) st.IndexPath.clear();
    window_.setIndexTabVisible(hasIndex);

    if (destination != st.OpenFileName) window_.resetIndexPage();
    host_.OpenBook(destination, st.AnchorKey);
    window_.showReadingPage();
}

}  // namespace varnet
