// importBook on files: the dispatch by extension, and every input it
// refuses, each with its one message "Cannot import <path>: <reason>".
#include "BookImport.h"
#include "EpubImport.h"
#include "FileBytes.h"
#include "ImportReasons.h"
#include "ImportTestEpub.h"
#include "ImportTestOutline.h"
#include "ObeyingFilePermissions.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

using namespace varnet::import;
using namespace varnet::testing;
using testsupport::ObeyingFilePermissions;

namespace {

const std::string kOpf = packageXml("Tides", "", {{"c1", "ch1.xhtml", "application/xhtml+xml", ""}}, {"c1"});
const std::string kChapter = xhtml("<p>Text.</p>");

void epub(const std::string& path, ZipEntries entries, bool container = true) {
    if (container) entries.insert(entries.begin(), {"META-INF/container.xml", kContainer});
    entries.insert(entries.begin(), {"mimetype", "application/epub+zip"});
    writeZip(path, entries);
}

// A zip whose chapter says it inflates to fewer bytes than it does: the
// sizes in its local header and central directory are lowered after it is
// written.
void understatedEpub(const std::string& path) {
    epub(path, {{"OEBPS/content.opf", kOpf}, {"OEBPS/ch1.xhtml", xhtml(std::string(5000, 'a'))}});
    std::string bytes = contents(path);
    const std::string name = "OEBPS/ch1.xhtml";
    for (std::size_t at = bytes.find(name); at != std::string::npos; at = bytes.find(name, at + 1)) {
        const bool local = bytes.compare(at - 30, 4, "PK\x03\x04") == 0;
        const bool central = at >= 46 && bytes.compare(at - 46, 4, "PK\x01\x02") == 0;
        const std::size_t field = local ? at - 30 + 22 : central ? at - 46 + 24 : std::string::npos;
        if (field != std::string::npos) bytes.replace(field, 4, std::string("\x64\0\0\0", 4));  // 100 bytes
    }
    put(path, bytes);
}

TEST(ImportBook, Extensions) {
    for (const char* name : {"a.txt", "b.TXT", "/x/c.md", "d.Markdown", "e.ePub", "f.tar.md"})
        EXPECT_TRUE(isImportable(name)) << name;
    for (const char* name : {"a", "b.txt.pdf", "c.mdx", "/x.epub/book", ".", "e.html"})
        EXPECT_FALSE(isImportable(name)) << name;

    TempFolder folder;
    put(folder / "Book.TXT", "Plain.\n");
    put(folder / "Book.Markdown", "# Title\n\n*Marked.*\n");
    ASSERT_TRUE(importBook(folder / "Book.TXT").book);
    EXPECT_EQ(outline(*importBook(folder / "Book.TXT").book), "T Book / \nC \nP Plain.\n");
    ASSERT_TRUE(importBook(folder / "Book.Markdown").book);
    EXPECT_EQ(outline(*importBook(folder / "Book.Markdown").book), "T Title / \nC \nP Marked.\n");
}

TEST(ImportBook, EveryBadInputGivesItsMessage) {
    struct Case {
        const char* file;
        std::function<void(const std::string& path)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"empty.txt", [](const std::string& p) { put(p, ""); }, reason::kEmpty},
        {"binary.md",
         [](const std::string& p) {
             put(p, std::string("\x7F"
                                "ELF\x02\x01\x01\0\0\0",
                                10));
         },
         reason::kNotText},
        {"huge.txt",
         [](const std::string& p) {
             put(p, "a");
             std::filesystem::resize_file(p, kMaxImportBytes + 1);  // sparse: no memory, no disk
         },
         reason::kTooLarge},
        {"blank.txt", [](const std::string& p) { put(p, "\n  \r\n\t\n"); }, reason::kNoText},
        {"russian.txt",
         [](const std::string& p) {
             put(p,
                 "\xD0\x92\xD0\xBE\xD0\xB9\xD0\xBD\xD0\xB0 \xD0\xB8 "
                 "\xD0\xBC\xD0\xB8\xD1\x80\n");
         },
         reason::kScript},
        {"missing.txt", [](const std::string&) {}, reason::kUnreadable},
        {"folder.md", [](const std::string& p) { std::filesystem::create_directory(p); },
         reason::kUnreadable},
        {"other.pdf", [](const std::string& p) { put(p, "%PDF-1.4"); }, reason::kNotImportable},
        {"notzip.epub", [](const std::string& p) { put(p, "PK but not really a zip archive"); },
         reason::kNotZip},
        {"nocontainer.epub",
         [](const std::string& p) {
             epub(p, {{"OEBPS/content.opf", kOpf}}, false);
         },
         reason::kNoContainer},
        {"badcontainer.epub",
         [](const std::string& p) {
             writeZip(p, {{"META-INF/container.xml", "<container><rootfiles/>"}});
         },
         reason::kNoContainer},
        {"nopackage.epub",
         [](const std::string& p) {
             epub(p, {{"OEBPS/ch1.xhtml", kChapter}});
         },
         reason::kNoContent},
        {"emptyspine.epub",
         [](const std::string& p) {
             epub(p, {{"OEBPS/content.opf", packageXml("T", "", {}, {})}, {"OEBPS/ch1.xhtml", kChapter}});
         },
         reason::kNoContent},
        {"missingdocs.epub",
         [](const std::string& p) {
             epub(p, {{"OEBPS/content.opf", kOpf}});
         },
         reason::kNoContent},
        {"notext.epub",
         [](const std::string& p) {
             epub(p, {{"OEBPS/content.opf", kOpf}, {"OEBPS/ch1.xhtml", xhtml("<img src=\"a.png\"/>")}});
         },
         reason::kNoContent},
        {"drm.epub",
         [](const std::string& p) {
             epub(p, {{"META-INF/encryption.xml",
                       "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
                       "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData><enc:CipherData>"
                       "<enc:CipherReference URI=\"OEBPS/ch1.xhtml\"/></enc:CipherData></enc:EncryptedData>"
                       "</encryption>"},
                      {"OEBPS/content.opf", kOpf},
                      {"OEBPS/ch1.xhtml", "\x93\x11\xA0\xFF encrypted bytes"}});
         },
         reason::kDrm},
        {"ratio.epub",
         [](const std::string& p) {
             // Two megabytes of zeros deflate a thousandfold: refused on the
             // sizes the archive declares, before anything is inflated.
             epub(p, {{"OEBPS/content.opf", kOpf}, {"OEBPS/ch1.xhtml", std::string(2u << 20, '\0')}});
         },
         reason::kBomb},
        {"understated.epub", understatedEpub, reason::kBomb},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder / c.file;
        c.make(path);
        const ImportResult r = importBook(path);
        EXPECT_FALSE(r.book.has_value()) << c.file;
        EXPECT_EQ(r.error, "Cannot import " + path + ": " + c.reason) << c.file;
    }
}

TEST(ImportBook, FileUnreadableByItsPermissions) {
    TempFolder folder;
    const std::string path = folder / "locked.txt";
    put(path, "Secret.\n");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    ImportResult r;
    {
        ObeyingFilePermissions obey;
        if (!obey.obeying()) GTEST_SKIP() << "running as root without the right to drop CAP_DAC_OVERRIDE";
        r = importBook(path);
    }
    EXPECT_FALSE(r.book.has_value());
    EXPECT_EQ(r.error, "Cannot import " + path + ": " + reason::kUnreadable);
}

}  // namespace
