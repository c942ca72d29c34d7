#include "InProcessImporter.h"

#include "BookImport.h"

#include <filesystem>

namespace varnet {

ImportOutcome InProcessImporter::importBook(const std::string& path) {
    ImportOutcome outcome;
    import::ImportResult imported = import::importBook(path);
    if (!imported.book) {
        outcome.error = imported.error;
        return outcome;
    }
    layout::BookDocument& document = *imported.book;
    // A book that names no title is known by its file's name.
    if (document.title.empty()) document.title = std::filesystem::path(path).stem().string();
    ImportedText book;
    book.title = document.title;
    book.author = document.author;
    book.text = layout::layOutDocument(document);
    outcome.book = std::move(book);
    return outcome;
}

}  // namespace varnet
