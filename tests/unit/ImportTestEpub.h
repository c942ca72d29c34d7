// EPUB archives built by the import tests: a zip of named entries, and the
// package, navigation and NCX documents of a small book.
#pragma once

#include <zip.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace varnet::testing {

using ZipEntries = std::vector<std::pair<std::string, std::string>>;

// Writes the entries as a zip archive at path, deflated except "mimetype",
// which an EPUB stores first and uncompressed.
inline void writeZip(const std::string& path, const ZipEntries& entries) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr) << error;
    for (const auto& [name, data] : entries) {
        zip_source_t* source = zip_source_buffer(zip, data.data(), data.size(), 0);
        ASSERT_NE(source, nullptr);
        const zip_int64_t index = zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE);
        ASSERT_GE(index, 0) << name;
        if (name == "mimetype")
            zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(zip), 0) << zip_strerror(zip);
}

inline const std::string kContainer =
    "<?xml version=\"1.0\"?>\n"
    "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
    " <rootfiles><rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>"
    "</rootfiles>\n</container>\n";

// A package in OEBPS/: the manifest items (id, href, media type,
// properties) and the spine's ids; `toc` names the NCX for EPUB 2.
struct PackageItem {
    std::string id, href, type, properties;
};
inline std::string packageXml(const std::string& title, const std::string& creator,
                              const std::vector<PackageItem>& items, const std::vector<std::string>& spine,
                              const std::string& toc = "") {
    std::string opf =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"id\">\n"
        " <metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
        "  <dc:identifier id=\"id\">test-book</dc:identifier>\n";
    if (!title.empty()) opf += "  <dc:title>" + title + "</dc:title>\n";
    if (!creator.empty()) opf += "  <dc:creator>" + creator + "</dc:creator>\n";
    opf += " </metadata>\n <manifest>\n";
    for (const PackageItem& i : items) {
        opf += "  <item id=\"" + i.id + "\" href=\"" + i.href + "\" media-type=\"" + i.type + "\"";
        if (!i.properties.empty()) opf += " properties=\"" + i.properties + "\"";
        opf += "/>\n";
    }
    opf += " </manifest>\n <spine" + (toc.empty() ? std::string() : " toc=\"" + toc + "\"") + ">\n";
    for (const std::string& id : spine) opf += "  <itemref idref=\"" + id + "\"/>\n";
    return opf + " </spine>\n</package>\n";
}

inline std::string xhtml(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\">\n"
           "<head><title>Ignored head title</title><style>p { margin: 0 }</style></head>\n<body>\n" +
           body + "\n</body>\n</html>\n";
}

}  // namespace varnet::testing
