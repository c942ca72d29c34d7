#include "LineFormat.h"

#include <cstdio>

namespace varnet {

namespace {

std::string numbered(const char* format, int number) {
    char text[32];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

}  // namespace

TagKind tagAt(std::string_view line, std::size_t position) {
    if (position >= line.size() || line[position] != kTagBar) return TagKind::None;
    // Past the end of the line a tag reads as ending there.
    const char c = position + 1 < line.size() ? line[position + 1] : '\0';
    const char after = position + 2 < line.size() ? line[position + 2] : '\0';
    if (c >= kFirstColourTag && c <= kLastColourTag) return TagKind::Colour;
    switch (c) {
        case kFixedFaceTag:
            return TagKind::FixedFace;
        case kSerifFaceTag:
            return TagKind::SerifFace;
        case kBoldTag:
            return TagKind::Bold;
        case kNormalTag:
            return TagKind::Normal;
        case kUnderlineTag:
            return TagKind::Underline;
        default:
            break;
    }
    if (c == kItalicTag && after == kTagClose) return TagKind::Italic;
    if (c == kImageTag[0] && after == kImageTag[1]) return TagKind::Image;
    if (c == kParagraphTag && after == kTagClose) return TagKind::Paragraph;
    if (line.substr(position + 1).starts_with(kAnchorLetters)) return TagKind::Anchor;
    return TagKind::Other;
}

bool holdsImageTag(std::string_view line) {
    for (std::size_t i = line.find(kTagBar); i != std::string_view::npos;
         i = line.find(kTagBar, i + kShortTagLength)) {
        if (tagAt(line, i) == TagKind::Image) return true;
    }
    return false;
}

int tagColour(std::string_view line, std::size_t position) {
    return tagAt(line, position) == TagKind::Colour ? line[position + 1] - '0' : 0;
}

std::string tagText(std::string_view name) {
    std::string tag(1, kTagBar);
    tag.append(name);
    tag += kTagClose;
    return tag;
}

std::string anchorName(int number) {
    return std::string(kAnchorPrefix) + numbered("%03d", number);
}

std::string indentCode(int indent) {
    return kIndentCode + numbered("%02d", indent);
}

std::string pageMarker(int page) {
    return kPageCode + numbered("%03d", page);
}

}  // namespace varnet
