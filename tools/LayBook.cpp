// The demo book's layout tool: reads the prose in a book folder (meta.txt,
// intro.txt, chapter01.txt .. chapter24.txt) and writes, into an output
// folder, the book in stored form (fable.txt), its word index (fable.qdx)
// and the chapter titles the catalogue shows (book/chapters.txt).
//
// Usage: varnet_laybook BOOK-FOLDER OUTPUT-FOLDER
// The same prose always gives the same bytes.

#include "BookFiles.h"
#include "BookLayout.h"
#include "BookSource.h"
#include "WordIndexBuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace {

std::string joined(const std::vector<std::string>& lines, const char* end) {
    std::string out;
    for (const auto& l : lines) out += l + end;
    return out;
}

// Leaves a file untouched when its bytes are already right, so that the
// build does not embed and compile it again.
void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::ostringstream old;
            old << in.rdbuf();
            if (old.str() == bytes) return;
        }
    }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: varnet_laybook BOOK-FOLDER OUTPUT-FOLDER\n";
        return 2;
    }
    try {
        using namespace varnet::laybook;
        BookSource source = readBookSource(argv[1]);
        const LaidOutBook book = layBook(source);
        const std::vector<std::string> index = varnet::layout::buildWordIndex(book.words, book.page);
        const std::filesystem::path out = argv[2];
        writeFile(out / "fable.txt", joined(book.stored, "\n"));
        writeFile(out / (std::string("fable") + varnet::kIndexExtension), joined(index, "\r\n"));
        writeFile(out / "book" / "chapters.txt", joined(book.chapterTitles, "\n"));
        for (const auto& w : source.warnings) std::cerr << "varnet_laybook: prose mended: " << w << "\n";
        for (const auto& n : book.notes) std::cout << "varnet_laybook: " << n << "\n";
        std::cout << "varnet_laybook: " << book.stored.size() << " lines, " << index.size()
                  << " index entries\n";
    } catch (const std::exception& e) {
        std::cerr << "varnet_laybook: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
