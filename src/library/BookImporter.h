// From a file the reader chose to a laid-out book ready to keep: the import
// for its format, then the layout. The reader runs this in a helper process
// of its own (varnet-import, beside the program): a damaged or hostile book
// can then neither bring the reader down nor leave its memory behind, and
// the reader itself does not load the archive and markup libraries at all.
#pragma once

#include "DocumentLayout.h"

#include <optional>
#include <string>
#include <string_view>

namespace varnet {

struct ImportedText {
    layout::LaidOutText text;
    std::string title;
    std::string author;
};

struct ImportOutcome {
    std::optional<ImportedText> book;
    std::string error;  // one message naming the file and the reason
};

// "Cannot import " + path + ": " + reason, the form of every import failure.
std::string importFailure(const std::string& path, const std::string& reason);
inline constexpr const char* kImportNeedsTooMuchMemory = "it needs more memory than an import may take";

class BookImporter {
public:
    virtual ~BookImporter() = default;
    // Imports and lays out the file at `path`.
    virtual ImportOutcome importBook(const std::string& path) = 0;
};

// The helper program's name; it sits in the program's folder.
inline constexpr const char* kImportHelperName = "varnet-import";

// Runs the helper program on each book and reads back what it lays out. A
// helper that cannot be started, fails, takes too long or answers nonsense
// gives a message naming the file.
class HelperProcessImporter final : public BookImporter {
public:
    explicit HelperProcessImporter(std::string helperPath, int timeoutSeconds = 120)
        : helperPath_(std::move(helperPath)), timeoutSeconds_(timeoutSeconds) {}
    ImportOutcome importBook(const std::string& path) override;

private:
    std::string helperPath_;
    int timeoutSeconds_;
};

// What the helper writes on its standard output, and reading it back.
std::string encodeOutcome(const ImportOutcome& outcome);
std::optional<ImportOutcome> decodeOutcome(std::string_view bytes);

}  // namespace varnet
