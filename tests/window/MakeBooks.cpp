// Writes the two books of the reader's own that the end-to-end run imports:
// a Markdown book and an EPUB 3 book (container, package, navigation and two
// chapters), each with chapters long enough to page through.
//
// Usage: varnet_make_books FOLDER
// Writes FOLDER/fox.md and FOLDER/heron.epub.
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kSentences = {
    "The heron stood in the shallows without moving, and the water ran past its legs.",
    "When the wind turned to the north, the reeds bent low and whispered to each other.",
    "A fox came down to the bank at dusk, because the ice had broken on the far side.",
    "She watched the fish under the surface, but she did not try to catch them yet.",
    "The old willow leaned over the river as if it wished to drink from it.",
    "Snow lay in the hollows of the wood long after the fields had turned green.",
    "In the morning the geese came back from the south in long grey lines.",
    "Nobody in the village could remember a winter that had lasted so long.",
    "The miller said that the river would rise, and the farmers laughed at him.",
    "By the end of the week the water had reached the lowest step of the mill.",
    "Then the heron flew up the valley to the lake, where the ice was thinner.",
    "The children followed its flight until it was only a speck against the hills.",
};

// A chapter's paragraphs: `count` sentences in paragraphs of four.
std::vector<std::string> paragraphs(std::size_t start, std::size_t count) {
    std::vector<std::string> out;
    std::string paragraph;
    for (std::size_t k = 0; k < count; ++k) {
        if (!paragraph.empty()) paragraph += ' ';
        paragraph += kSentences[(start + k) % kSentences.size()];
        if (k % 4 == 3) {
            out.push_back(paragraph);
            paragraph.clear();
        }
    }
    if (!paragraph.empty()) out.push_back(paragraph);
    return out;
}

bool add(zip_t* archive, const char* name, const std::string& text, bool stored) {
    char* copy = static_cast<char*>(std::malloc(text.size()));
    std::copy(text.begin(), text.end(), copy);
    zip_source_t* source = zip_source_buffer(archive, copy, text.size(), 1);
    if (!source) return false;
    const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    if (stored) zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    return true;
}

std::string chapterDocument(const std::string& title, const std::vector<std::string>& body) {
    std::string xhtml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
        "<head><title>" +
        title + "</title></head><body><h1>" + title + "</h1>\n";
    for (const auto& p : body) xhtml += "<p>" + p + "</p>\n";
    return xhtml + "</body></html>\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: varnet_make_books FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];

    std::ofstream md(folder + "/fox.md", std::ios::binary);
    md << "# The Fox's Year\n\n";
    const char* const mdChapters[] = {"Spring", "Summer", "Autumn"};
    for (int c = 0; c < 3; ++c) {
        md << "## " << mdChapters[c] << "\n\n";
        for (const auto& p : paragraphs(static_cast<std::size_t>(c) * 5, 48)) md << p << "\n\n";
    }
    md.close();
    if (!md) return 1;

    int error = 0;
    const std::string epub = folder + "/heron.epub";
    zip_t* archive = zip_open(epub.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) return 1;
    const std::string container =
        "<?xml version=\"1.0\"?>\n<container version=\"1.0\" "
        "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles>"
        "<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>"
        "</rootfiles></container>\n";
    const std::string package =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<package xmlns=\"http://www.idpf.org/2007/opf\" "
        "version=\"3.0\" unique-identifier=\"id\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
        "<dc:identifier id=\"id\">heron-1</dc:identifier><dc:title>A Heron's Winter</dc:title>"
        "<dc:creator>Mara Quill</dc:creator><dc:language>en</dc:language></metadata><manifest>"
        "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>"
        "<item id=\"c1\" href=\"text/frost.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"c2\" href=\"text/thaw.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "</manifest><spine><itemref idref=\"c1\"/><itemref idref=\"c2\"/></spine></package>\n";
    const std::string nav =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" "
        "xmlns:epub=\"http://www.idpf.org/2007/ops\"><head><title>Contents</title></head><body>"
        "<nav epub:type=\"toc\"><ol><li><a href=\"text/frost.xhtml\">Frost</a></li>"
        "<li><a href=\"text/thaw.xhtml\">Thaw</a></li></ol></nav></body></html>\n";
    const bool ok =
        add(archive, "mimetype", "application/epub+zip", true) &&
        add(archive, "META-INF/container.xml", container, false) &&
        add(archive, "OEBPS/content.opf", package, false) && add(archive, "OEBPS/nav.xhtml", nav, false) &&
        add(archive, "OEBPS/text/frost.xhtml", chapterDocument("Frost", paragraphs(0, 48)), false) &&
        add(archive, "OEBPS/text/thaw.xhtml", chapterDocument("Thaw", paragraphs(7, 48)), false);
    if (!ok || zip_close(archive) != 0) return 1;
    return 0;
}
