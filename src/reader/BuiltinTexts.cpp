#include "BuiltinTexts.h"

#include "EmbeddedData.h"

#include <string_view>

namespace varnet {

namespace {

std::string metaValue(std::string_view key) {
    for (const std::string_view line : LineList::fromBytes(embedded::bookMeta)) {
        const auto eq = line.find('=');
        if (eq != std::string_view::npos && line.substr(0, eq) == key)
            return std::string(line.substr(eq + 1));
    }
    return {};
}

LineList withHeader(std::string_view body) {
    LineList text;
    text.add(demoBookInfo().header);
    text.append(LineList::fromBytes(body));
    return text;
}

}  // namespace

const DemoBookInfo& demoBookInfo() {
    static const DemoBookInfo info{metaValue("header"), metaValue("title"), metaValue("author"),
                                   metaValue("entry"),
                                   LineList::fromBytes(embedded::chapterTitles).strings()};
    return info;
}

LineList welcomeText() {
    return withHeader(embedded::welcome);
}
LineList titleListText() {
    return withHeader(embedded::titleList);
}
LineList authorListText() {
    return withHeader(embedded::authorList);
}

LineList authorText() {
    LineList text = withHeader(embedded::authorText);
    for (std::int32_t i = 0; i < text.count(); ++i) {
        if (const auto at = text[i].find("@ENTRY@"); at != std::string_view::npos) {
            std::string line(text[i]);
            line.replace(at, 7, demoBookInfo().authorEntry);
            text.put(i, line);
        }
    }
    return text;
}

// data/fable.txt is the laid-out demo book (tools/LayBook writes it from the
// prose in data/book/). Both forms are read in place from the program's own
// data, so neither costs a copy.
LineList demoBookText() {
    return LineList::borrowing(embedded::demoBook);
}

LineList openedDemoBookText() {
    return LineList::borrowing(embedded::openedDemoBook);
}

const LineList& startupInstructions() {
    static const LineList lines = LineList::fromBytes(embedded::startup);
    return lines;
}

void BuildDemoText(ReaderState& state) {
    state.DemoText = demoBookText();
}

}  // namespace varnet
