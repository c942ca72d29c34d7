// EPUB books built here with libzip: EPUB 3 with a navigation document,
// EPUB 2 with an NCX, books without a table of contents, and the XHTML
// block reader on good and bad markup.
#include "EpubImport.h"
#include "FileBytes.h"
#include "ImportTestEpub.h"
#include "ImportTestOutline.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace varnet::import;
using namespace varnet::testing;

namespace {

const PackageItem kNavItem{"nav", "nav.xhtml", "application/xhtml+xml", "nav"};
const PackageItem kNcxItem{"ncx", "toc.ncx", "application/x-dtbncx+xml", ""};

PackageItem doc(const std::string& id, const std::string& href) {
    return {id, href, "application/xhtml+xml", ""};
}

// The book imported from the archive of those entries (plus mimetype and
// container), as its outline or its error.
std::string importedEpub(ZipEntries entries) {
    TempFolder folder;
    const std::string path = folder / "book.epub";
    entries.insert(entries.begin(),
                   {{"mimetype", "application/epub+zip"}, {"META-INF/container.xml", kContainer}});
    writeZip(path, entries);
    const ImportResult r = importEpub(contents(path), path);
    EXPECT_EQ(r.book.has_value(), r.error.empty());
    return r.book ? outline(*r.book) : r.error;
}

TEST(ImportEpub, Epub3ChaptersFromTheNavigationDocument) {
    const std::string nav = xhtml(
        "<nav epub:type=\"landmarks\"><ol><li><a href=\"text/ch1b.xhtml\">Not a chapter</a></li></ol></nav>"
        "<nav epub:type=\"toc\"><ol>"
        "<li><a href=\"text/ch1.xhtml\">Chapter One</a>"
        "<ol><li><a href=\"text/ch1.xhtml#s2\">A section</a></li></ol></li>"
        "<li><a href=\"text/ch%202.xhtml#start\">The  Second\n Part</a></li>"
        "</ol></nav>");
    const std::string ch1 = xhtml(
        "<section><h1 class=\"title\">Chapter One</h1>"
        "<p>The keeper climbed\n   the <em>stair</em>&#160;at dusk.</p>"
        "<p class=\"poem\">The tide comes in,<br/>the tide goes out,<br/></p>"
        "<script>var skipped = 1;</script>"
        "<blockquote><p>A quoted line.</p></blockquote>"
        "<ul><li>An item</li><li>Another</li></ul>"
        "<h2>A smaller heading</h2><div>Loose text in a division.</div></section>");
    const std::string ch1b = xhtml(
        "<p>The same chapter, \xE2\x80\x9C"
        "continued\xE2\x80\x9D.</p>");
    const std::string ch2 = xhtml("<h1 id=\"start\">The Second Part</h1><p>Last words.</p>");
    const std::string opf =
        packageXml("Tides &amp; Lights", "Ada Marsh</dc:creator><dc:creator>Ben \xC5\x81ukasz",
                   {kNavItem, doc("cover", "text/cover.xhtml"), doc("c1", "text/ch1.xhtml"),
                    doc("c1b", "text/ch1b.xhtml"), doc("c2", "text/ch%202.xhtml")},
                   {"cover", "c1", "c1b", "c2"});
    EXPECT_EQ(importedEpub({{"OEBPS/content.opf", opf},
                            {"OEBPS/nav.xhtml", nav},
                            {"OEBPS/text/cover.xhtml", xhtml("<div><img src=\"cover.jpg\" alt=\"\"/></div>")},
                            {"OEBPS/text/ch1.xhtml", ch1},
                            {"OEBPS/text/ch1b.xhtml", ch1b},
                            {"OEBPS/text/ch 2.xhtml", ch2}}),
              "T Tides & Lights / Ada Marsh, Ben Lukasz\n"
              "C Chapter One\n"
              "P The keeper climbed the stair at dusk.\n"
              "V The tide comes in, | the tide goes out,\n"
              "P A quoted line.\nP An item\nP Another\nP A smaller heading\nP Loose text in a division.\n"
              "P The same chapter, \"continued\".\n"
              "C The Second Part\nP Last words.\n");
}

TEST(ImportEpub, Epub2ChaptersFromTheNcxWithBadMarkupAndObfuscatedFonts) {
    const std::string ncx =
        "<?xml version=\"1.0\"?>\n<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" "
        "version=\"2005-1\"><navMap>"
        "<navPoint id=\"p1\"><navLabel><text>Part One</text></navLabel><content src=\"part1.html\"/>"
        "<navPoint id=\"p2\"><navLabel><text>The Shore</text></navLabel><content "
        "src=\"shore.html\"/></navPoint>"
        "</navPoint></navMap></ncx>";
    // Unclosed paragraphs, a stray end tag, a bare ampersand, no xml header.
    const std::string shore = "<html><body><p>Salt & spray<p>Gulls over <b>the <i>rocks</b></i></div><p>End";
    const std::string encryption =
        "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
        "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData>"
        "<enc:CipherData><enc:CipherReference URI=\"OEBPS/fonts/serif.otf\"/></enc:CipherData>"
        "</enc:EncryptedData></encryption>";
    const std::string opf = packageXml("", "",
                                       {kNcxItem,
                                        doc("p1", "part1.html"),
                                        doc("shore", "shore.html"),
                                        {"f", "fonts/serif.otf", "font/otf", ""}},
                                       {"p1", "shore"}, "ncx");
    EXPECT_EQ(importedEpub({{"META-INF/encryption.xml", encryption},
                            {"OEBPS/content.opf", opf},
                            {"OEBPS/toc.ncx", ncx},
                            {"OEBPS/fonts/serif.otf", "obfuscated"},
                            {"OEBPS/part1.html", xhtml("<h1>PART ONE</h1><p>Introduction.</p>")},
                            {"OEBPS/shore.html", shore}}),
              "T book / \nC Part One\nP Introduction.\nC The Shore\nP Salt & spray\nP Gulls over the "
              "rocks\nP End\n");
}

TEST(ImportEpub, WithoutTableOfContents) {
    const std::string opf = packageXml("Plain", "", {doc("a", "a.xhtml"), doc("b", "b.xhtml")}, {"a", "b"});
    // Top headings start chapters across the documents.
    EXPECT_EQ(
        importedEpub({{"OEBPS/content.opf", opf},
                      {"OEBPS/a.xhtml", xhtml("<p>Before.</p><h1>Book One</h1><h2>First</h2><p>One.</p>")},
                      {"OEBPS/b.xhtml", xhtml("<p>Still one.</p><h2>Second</h2><h3>Sub</h3><p>Two.</p>")}}),
        "T Plain / \nC \nP Before.\nC Book One: First\nP One.\nP Still one.\nC Second\nP Sub\nP Two.\n");
    // Without them, a chapter a document, named by its opening heading.
    EXPECT_EQ(importedEpub({{"OEBPS/content.opf", opf},
                            {"OEBPS/a.xhtml", xhtml("<h3>Opening</h3><p>One.</p>")},
                            {"OEBPS/b.xhtml", xhtml("<p>Two.</p>")}}),
              "T Plain / \nC Opening\nP One.\nC \nP Two.\n");
}

// The package's entities are never expanded (nor its DTD read): a title
// made of entity references is no title, and the file's name stands in.
TEST(ImportEpub, PackageEntitiesAreNotExpanded) {
    std::string opf = packageXml("&a;&a;&a;", "", {doc("a", "a.xhtml")}, {"a"});
    opf.insert(opf.find("<package"),
               "<!DOCTYPE package [<!ENTITY b \"Tides \"><!ENTITY a \"&b;&b;&b;&b;\">"
               "<!ENTITY ext SYSTEM \"file:///etc/passwd\">]>\n");
    EXPECT_EQ(importedEpub({{"OEBPS/content.opf", opf}, {"OEBPS/a.xhtml", xhtml("<p>Text.</p>")}}),
              "T book / \nC \nP Text.\n");
}

std::string blocksOf(const std::string& html) {
    std::string out;
    for (const XhtmlBlock& b : readXhtmlBlocks(html)) {
        out += b.kind == XhtmlBlock::Kind::Heading ? "H" + std::to_string(b.level) + " "
               : b.kind == XhtmlBlock::Kind::Verse ? "V "
                                                   : "P ";
        for (std::size_t i = 0; i < b.lines.size(); ++i) out += (i > 0 ? " | " : "") + b.lines[i];
        out += "\n";
    }
    return out;
}

TEST(ImportEpub, XhtmlBlocks) {
    struct Case {
        const char* name;
        std::string html;
        std::string blocks;
    };
    const Case cases[] = {
        {"inline markup and whitespace", xhtml("<p>  a <span>b</span>\n\t<a href=\"#\">c</a>  </p>"),
         "P a b c\n"},
        {"heading with a break", xhtml("<h2>Chapter<br/>One</h2>"), "H2 Chapter One\n"},
        {"breaks make verse", xhtml("<div><br/>one<br/>two<br/><br/>three</div>"), "V one | two | three\n"},
        {"nested blocks", xhtml("<div>outer<p>inner</p>tail</div>"), "P outer\nP inner\nP tail\n"},
        {"preformatted", xhtml("<pre>line 1\n  line 2</pre>"), "V line 1 | line 2\n"},
        {"skipped parts", xhtml("<style>x</style><script>y</script><noscript>z</noscript><p>kept</p>"),
         "P kept\n"},
        {"malformed", "<p>one<p>two</span><li>three</p></body>&amp; four",
         "P one\nP two\nP three\nP & four\n"},
        {"deep nesting",
         [] {
             std::string s;
             for (int i = 0; i < 200; ++i) s += "<div>";
             return s + "deep";
         }(),
         "P deep\n"},
        {"control bytes dropped", "\x01\x02\xFF plain", "P \xFF plain\n"},
        {"nothing", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(blocksOf(c.html), c.blocks) << c.name;
}

}  // namespace
