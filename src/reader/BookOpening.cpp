#include "BookOpening.h"

#include "BuiltinTexts.h"
#include "TextFormat.h"

namespace varnet {

namespace {

bool isNoAnchor(const std::string& anchor) {
    return anchor.empty() || anchor == " " || anchor == "00000";
}

}  // namespace

std::string bookKeyFrom(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const auto dot = name.find('.');
    return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

LineList builtinTextFor(const std::string& key, const ReaderState& state) {
    if (key == "fable") return state.DemoText ? *state.DemoText : demoBookText();
    if (key == "none") return welcomeText();
    if (key == "title") return titleListText();
    if (key == "author") return authorListText();
    return authorText();
}

void BookOpening::load(const std::string& fileName) {
    ReaderState& st = state_;
    st.OpenFileName = fileName;
    st.BookKey = bookKeyFrom(fileName);
    if (const std::optional<std::string> stored = host_.storedBytes(fileName)) {
        st.CurrentText = openedTextOfBytes(*stored);
    } else if (st.BookKey == "fable") {
        // The demo book's opened form is made at build time from the very
        // lines DemoText holds: read in place, it costs no memory of its own,
        // whether or not a catalogue click built DemoText first.
        st.CurrentText = openedDemoBookText();
    } else {
        st.CurrentText = openedText(builtinTextFor(st.BookKey, st));
    }
}

std::int32_t BookOpening::resumeLine() {
    ReaderState& st = state_;
    if (!st.BookmarkLines) return 0;
    const LineList& marks = *st.BookmarkLines;
    if (!(st.BookmarkSection < marks.count() - 1 && st.BookmarkSectionEnd != st.BookmarkSection + 1))
        return 0;
    if (st.BookmarkSection + 1 < 0) return 0;
    const std::string line(marks[st.BookmarkSection + 1]);
    std::string numberText;
    const auto value = bookmarkLineNumber(line, &numberText);
    if (!value) {
        // A hand-edited line number that does not parse: the book still opens,
        // from its first line.
        host_.error(notAnIntegerMessage(numberText));
        return 0;
    }
    const auto blank = line.find(' ', 1);
    const std::string name = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    const bool yes = host_.askYesNo(name, kResumeQuestion);
    if (!yes) return 0;
    return *value < 0 ? 0 : *value;
}

void BookOpening::OpenBook(const std::string& fileName, const std::string& anchor) {
    ReaderState& st = state_;
    if (fileName != st.OpenFileName || !st.CurrentText) load(fileName);
    st.NextLine = 0;
    // The bookmark lines are loaded for every text opened, so that leaving
    // it after paging always keeps the reader's place; only an opening at
    // the start asks whether to resume.
    host_.loadBookmarkSection();
    if (isNoAnchor(anchor)) {
        st.NextLine = resumeLine();
    } else {
        const std::string key = tagText(anchor);
        const LineList& text = *st.CurrentText;
        for (std::int32_t j = 0; j + 1 < text.count(); ++j) {
            if (text[j].find(key) != std::string::npos) {
                st.NextLine = j + 1;
                break;
            }
        }
    }
    st.NextLine = host_.ShowLine(st.NextLine);
}

}  // namespace varnet
