// Checks an installed reader from outside: takes the path of the installed
// bin/varnet link, resolves it as the running program resolves itself, and
// asks the catalogue what a click on the demo book's first chapter would do
// in that folder. Exit status 0 when the Index tab would show (the word
// index travelled with the program), 1 otherwise.
#include "AtomicFile.h"
#include "Catalogue.h"
#include "FileLocations.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace {

// The catalogue's view of a window: the first chapter selected, and the
// Index tab's visibility noted.
class Probe final : public varnet::CatalogueWindow {
public:
    std::optional<std::int32_t> selectedNodeIndex() const override { return 3; }
    void setCaption(const std::string& text) override { caption = text; }
    void notice(const std::string&) override {}
    void error(const std::string&) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void setOpenDialogFileName(const std::string&) override {}
    void setIndexTabVisible(bool visible) override { indexTab = visible; }
    void resetIndexPage() override {}
    void showReadingPage() override {}
    std::string caption;
    bool indexTab = false;
};

// What the click asks of the rest of the program: the book it opens is
// noted, and files are looked for on disk.
class Host final : public varnet::CatalogueHost {
public:
    void WriteClosingBookmark() override {}
    void OpenBook(const std::string& fileName, const std::string&) override { opened = fileName; }
    bool fileExists(const std::string& path) const override { return varnet::fileExists(path); }
    std::string opened;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: InstallCheck PREFIX/bin/varnet\n");
        return 2;
    }
    std::error_code ec;
    const std::string program = std::filesystem::canonical(argv[1], ec).string();
    if (ec) {
        std::fprintf(stderr, "InstallCheck: %s does not resolve\n", argv[1]);
        return 1;
    }
    varnet::ReaderState state;
    state.BookFolder = varnet::bookFolderFrom(program);
    state.BaseName = varnet::baseNameFrom(program);
    state.CatalogueLines = varnet::builtinCatalogueRows();
    state.TreeToggled = false;
    Probe window;
    Host host;
    varnet::CatalogueClick click(state, window, host);
    click.TOCTreeViewClick();
    const std::string& opened = host.opened;
    std::printf("program folder %s, opens %s, index %s: Index tab %s\n", state.BookFolder.c_str(),
                opened.c_str(), state.IndexPath.c_str(), window.indexTab ? "shown" : "hidden");
    return window.indexTab ? 0 : 1;
}
