// What the importers share: the failure they throw, tidying text into
// blocks, and the last checks on a finished book.
#pragma once

#include "BookDocument.h"
#include "BookImport.h"

#include <string>
#include <string_view>
#include <vector>

namespace varnet::import::detail {

// Thrown inside an importer with the reason it gives up; the importer's
// entry point turns it into the one message of its result.
struct ImportFailure {
    std::string reason;
};

// "Cannot import <name>: <reason>".
std::string failureMessage(std::string_view name, std::string_view reason);

// The text with runs of spaces made one and no space at either end.
std::string collapseSpaces(std::string_view text);

// Adds a paragraph of the text (spaces collapsed) unless it is blank.
void addParagraph(layout::Chapter& chapter, std::string_view text);
// Adds a verse block of the non-blank lines (spaces collapsed in each); a
// single line is added as a paragraph.
void addVerse(layout::Chapter& chapter, const std::vector<std::string>& lines);

// The name of the file without its folder and extension, in Latin-1.
std::string titleFromFileName(std::string_view path);

// Drops chapters without blocks (throws "it has no text" when none is
// left), tidies the spaces of the titles and names a book without a title
// after its file.
void finishBook(layout::BookDocument& book, std::string_view path);

// Runs an importer body: the book it returns, or the failure it throws as
// the message for `name`.
template <class Body>
ImportResult runImport(std::string_view name, Body&& body) {
    ImportResult result;
    try {
        result.book = body();
    } catch (const ImportFailure& failure) {
        result.book.reset();
        result.error = failureMessage(name, failure.reason);
    }
    return result;
}

}  // namespace varnet::import::detail
