#include "BuiltinTexts.h"

#include "EmbeddedData.h"

#include <string_view>

namespace varnet {

namespace {

std::string metaValue(std::string_view key) {
    const LineList meta = LineList::fromBytes(embedded::bookMeta);
    for (const auto& line : meta.lines()) {
        const auto eq = line.find('=');
        if (eq != std::string::npos && std::string_view(line).substr(0, eq) == key)
            return line.substr(eq + 1);
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
                                   metaValue("entry"), LineList::fromBytes(embedded::chapterTitles).lines()};
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
    for (auto& line : text.lines()) {
        if (const auto at = line.find("@ENTRY@"); at != std::string::npos)
            line.replace(at, 7, demoBookInfo().authorEntry);
    }
    return text;
}

// data/fable.txt is the laid-out demo book (tools/LayBook writes it from the
// prose in data/book/).
LineList demoBookText() {
    return LineList::fromBytes(embedded::demoBook);
}

const LineList& startupInstructions() {
    static const LineList lines = LineList::fromBytes(embedded::startup);
    return lines;
}

void BuildDemoText(ReaderState& state) {
    state.DemoText = demoBookText();
}

}  // namespace varnet
