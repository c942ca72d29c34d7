#include "InProcessImporter.h"

#include "BookImport.h"

namespace varnet {

ImportOutcome InProcessImporter::importBook(const std::string& path) {
    ImportOutcome outcome;
    import::ImportResult imported = import::importBook(path);
    if (!imported.book) {
        outcome.error = imported.error;
        return outcome;
    }
    // The import has given every book a title (its file's name when the
    // book names none).
    const layout::BookDocument& document = *imported.book;
    ImportedText book;
    book.title = document.title;
    book.author = document.author;
    book.text = layout::layOutDocument(document);
    outcome.book = std::move(book);
    return outcome;
}

}  // namespace varnet
