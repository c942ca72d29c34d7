// The names the files of a book are known by: a text and its word index sit
// side by side under the same key, with these extensions; and the books of
// the reader's own an import reads, known by theirs.
#pragma once

#include <string>
#include <string_view>

namespace varnet {

inline constexpr const char* kTextExtension = ".qtx";
inline constexpr const char* kIndexExtension = ".qdx";

// What a file of the reader's own holds, by the extension of its name in any
// case: .txt plain text, .md or .markdown Markdown, .epub EPUB.
enum class ImportFormat { None, Text, Markdown, Epub };
inline ImportFormat importFormatOf(std::string_view path) {
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return ImportFormat::None;
    std::string ext(name.substr(dot + 1));
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (ext == "txt") return ImportFormat::Text;
    if (ext == "md" || ext == "markdown") return ImportFormat::Markdown;
    if (ext == "epub") return ImportFormat::Epub;
    return ImportFormat::None;
}

}  // namespace varnet
