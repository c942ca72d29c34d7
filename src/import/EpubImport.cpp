// EPUB: a zip archive whose container names the package document; the
// package lists the book's documents in reading order (the spine) and its
// table of contents. Every entry's size is checked before it is inflated.
#include "EpubImport.h"

#include "CharacterMap.h"
#include "ImportCommon.h"
#include "ImportReasons.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <zip.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace varnet::import {

namespace {

using detail::ImportFailure;

// ---- The archive

class Archive {
public:
    explicit Archive(std::string_view bytes) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
        if (source != nullptr) {
            zip_ = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (zip_ == nullptr) zip_source_free(source);
        }
        zip_error_fini(&error);
        if (zip_ == nullptr) throw ImportFailure{reason::kNotZip};
    }
    ~Archive() { zip_discard(zip_); }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool has(const std::string& path) const { return locate(path) >= 0; }

    // The inflated bytes of the entry at path, or nothing when there is no
    // such entry. An entry that would inflate past the limits is refused
    // before it is inflated, and one that inflates past its declared size
    // while it is read.
    std::optional<std::string> read(const std::string& path) {
        const zip_int64_t index = locate(path);
        if (index < 0) return std::nullopt;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
            (st.valid & ZIP_STAT_SIZE) == 0 || (st.valid & ZIP_STAT_COMP_SIZE) == 0)
            throw ImportFailure{reason::kDamaged};
        if (st.size > kMaxInflatedBytes - inflated_ ||
            (st.size > kSmallEntryBytes && st.size / kMaxEntryRatio > st.comp_size))
            throw ImportFailure{reason::kBomb};
        zip_file_t* file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
        if (file == nullptr) {
            const int code = zip_error_code_zip(zip_get_error(zip_));
            zip_error_clear(zip_);
            if (code == ZIP_ER_ENCRNOTSUPP || code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD)
                throw ImportFailure{reason::kDrm};
            throw ImportFailure{reason::kDamaged};
        }
        const std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closer(file, zip_fclose);
        std::string data(static_cast<std::size_t>(st.size) + 1, '\0');
        std::size_t have = 0;
        while (have < data.size()) {
            const zip_int64_t n = zip_fread(file, data.data() + have, data.size() - have);
            if (n < 0) throw ImportFailure{reason::kDamaged};
            if (n == 0) break;
            have += static_cast<std::size_t>(n);
        }
        if (have > st.size) throw ImportFailure{reason::kBomb};
        data.resize(have);
        inflated_ += have;
        return data;
    }

private:
    zip_int64_t locate(const std::string& path) const {
        zip_int64_t index = zip_name_locate(zip_, path.c_str(), 0);
        if (index < 0) index = zip_name_locate(zip_, path.c_str(), ZIP_FL_NOCASE);
        return index;
    }

    zip_t* zip_ = nullptr;
    std::size_t inflated_ = 0;
};

// ---- Paths inside the archive

std::string percentDecode(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The folder of an entry's path, with its closing slash ("" at the root).
std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// An href (relative to `folder`, or to the root when it starts with '/') as
// an entry's path: fragment and query dropped, percent escapes decoded, "."
// and ".." resolved.
std::string resolveHref(const std::string& folder, std::string_view href) {
    href = href.substr(0, std::min(href.find('#'), href.size()));
    href = href.substr(0, std::min(href.find('?'), href.size()));
    std::string joined =
        !href.empty() && href.front() == '/' ? percentDecode(href.substr(1)) : folder + percentDecode(href);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t end = std::min(joined.find('/', start), joined.size());
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& p : parts) path += (path.empty() ? "" : "/") + p;
    return path;
}

// ---- XML

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, DocFree>;

// Parses package XML without the network, DTDs or entity substitution.
XmlDoc parseXml(const std::string& bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
    return XmlDoc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "package.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

XmlDoc parseHtml(const std::string& bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
    return XmlDoc(
        htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "nav.xhtml", "UTF-8",
                       HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING));
}

bool named(const xmlNode* n, const char* localName) {
    return n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), localName) == 0;
}

// An attribute by its local name, in any namespace; "epub:type" as the HTML
// parser names it is found as "type" too.
std::string attribute(const xmlNode* n, const char* localName) {
    for (const xmlAttr* a = n->properties; a != nullptr; a = a->next) {
        const char* name = reinterpret_cast<const char*>(a->name);
        const char* colon = std::strrchr(name, ':');
        if (std::strcmp(colon != nullptr ? colon + 1 : name, localName) != 0) continue;
        if (a->children != nullptr && a->children->content != nullptr)
            return reinterpret_cast<const char*>(a->children->content);
        return {};
    }
    return {};
}

// The text under a node: its text and CDATA nodes only, so an entity
// reference is never expanded.
std::string textOf(const xmlNode* root) {
    std::string text;
    const xmlNode* n = root->children;
    while (n != nullptr) {
        if ((n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) && n->content != nullptr)
            text += reinterpret_cast<const char*>(n->content);
        if (n->type == XML_ELEMENT_NODE && n->children != nullptr) {
            n = n->children;
            continue;
        }
        while (n != nullptr && n != root && n->next == nullptr) n = n->parent;
        n = (n == nullptr || n == root) ? nullptr : n->next;
    }
    return detail::collapseSpaces(text);
}

// Every element under (and including) root in document order, without
// recursion.
template <class Visit>
void forEachElement(xmlNode* root, Visit&& visit) {
    xmlNode* n = root;
    while (n != nullptr) {
        if (n->type == XML_ELEMENT_NODE) visit(n);
        if (n->type == XML_ELEMENT_NODE && n->children != nullptr) {
            n = n->children;
            continue;
        }
        while (n != nullptr && n != root && n->next == nullptr) n = n->parent;
        n = (n == nullptr || n == root) ? nullptr : n->next;
    }
}

// ---- The package

struct ManifestItem {
    std::string path;
    std::string mediaType;
    std::string properties;
};

struct Package {
    std::string path;
    std::string title;
    std::vector<std::string> creators;
    std::map<std::string, ManifestItem> manifest;  // by id
    std::vector<std::string> spine;                // the documents' paths, in reading order
    std::string navPath;                           // EPUB 3 navigation document
    std::string ncxPath;                           // EPUB 2 table of contents
};

std::string rootfilePath(Archive& archive) {
    const std::optional<std::string> container = archive.read("META-INF/container.xml");
    if (!container) throw ImportFailure{reason::kNoContainer};
    const XmlDoc doc = parseXml(*container);
    if (!doc) throw ImportFailure{reason::kNoContainer};
    std::string path;
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* n) {
        if (!named(n, "rootfile")) return;
        const std::string fullPath = attribute(n, "full-path");
        if (!fullPath.empty() && path.empty()) path = fullPath;
    });
    if (path.empty()) throw ImportFailure{reason::kNoContainer};
    return resolveHref("", path);
}

bool hasToken(const std::string& list, std::string_view token) {
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(' ', start);
        if (end == std::string::npos) end = list.size();
        if (std::string_view(list).substr(start, end - start) == token) return true;
        start = end + 1;
    }
    return false;
}

Package readPackage(Archive& archive) {
    Package package;
    package.path = rootfilePath(archive);
    const std::optional<std::string> opf = archive.read(package.path);
    if (!opf) throw ImportFailure{reason::kNoContent};
    const XmlDoc doc = parseXml(*opf);
    if (!doc) throw ImportFailure{reason::kNoContent};
    const std::string folder = folderOf(package.path);
    std::string tocId;
    std::vector<std::string> spineIds;
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* n) {
        if (named(n, "title") && package.title.empty()) {
            package.title = textOf(n);
        } else if (named(n, "creator")) {
            if (std::string creator = textOf(n); !creator.empty())
                package.creators.push_back(std::move(creator));
        } else if (named(n, "item")) {
            const std::string id = attribute(n, "id");
            const std::string href = attribute(n, "href");
            if (id.empty() || href.empty()) return;
            package.manifest.emplace(id, ManifestItem{resolveHref(folder, href), attribute(n, "media-type"),
                                                      attribute(n, "properties")});
        } else if (named(n, "spine")) {
            tocId = attribute(n, "toc");
        } else if (named(n, "itemref")) {
            if (attribute(n, "linear") != "no") spineIds.push_back(attribute(n, "idref"));
        }
    });
    for (const std::string& id : spineIds) {
        const auto it = package.manifest.find(id);
        if (it == package.manifest.end()) continue;
        const std::string& type = it->second.mediaType;
        if (!type.empty() && type != "application/xhtml+xml" && type != "text/html") continue;
        package.spine.push_back(it->second.path);
    }
    for (const auto& [id, item] : package.manifest) {
        if (package.navPath.empty() && hasToken(item.properties, "nav")) package.navPath = item.path;
        if ((id == tocId || (tocId.empty() && item.mediaType == "application/x-dtbncx+xml")) &&
            package.ncxPath.empty())
            package.ncxPath = item.path;
    }
    return package;
}

// Refuses a book whose encryption declaration covers its package, its
// table of contents or any document of its spine; encrypted fonts (a
// publisher's font obfuscation) leave the text readable.
void refuseDrm(Archive& archive, const Package& package) {
    const std::optional<std::string> encryption = archive.read("META-INF/encryption.xml");
    if (!encryption) return;
    const XmlDoc doc = parseXml(*encryption);
    if (!doc) throw ImportFailure{reason::kDrm};
    std::set<std::string> covered(package.spine.begin(), package.spine.end());
    covered.insert(package.path);
    if (!package.navPath.empty()) covered.insert(package.navPath);
    if (!package.ncxPath.empty()) covered.insert(package.ncxPath);
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* n) {
        if (named(n, "CipherReference") && covered.count(resolveHref("", attribute(n, "URI"))) != 0)
            throw ImportFailure{reason::kDrm};
    });
}

// ---- The table of contents: each document's title, from the first entry
// that points into it.

using TableOfContents = std::map<std::string, std::string>;

TableOfContents readNav(Archive& archive, const std::string& path) {
    TableOfContents toc;
    const std::optional<std::string> bytes = archive.read(path);
    if (!bytes) return toc;
    XmlDoc doc = parseXml(*bytes);
    if (!doc) doc = parseHtml(*bytes);
    if (!doc) return toc;
    xmlNode* chosen = nullptr;
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* n) {
        if (!named(n, "nav")) return;
        if (chosen == nullptr ||
            (hasToken(attribute(n, "type"), "toc") && !hasToken(attribute(chosen, "type"), "toc")))
            chosen = n;
    });
    if (chosen == nullptr) return toc;
    const std::string folder = folderOf(path);
    forEachElement(chosen, [&](xmlNode* n) {
        if (!named(n, "a")) return;
        const std::string href = attribute(n, "href");
        std::string title = textOf(n);
        if (href.empty() || title.empty()) return;
        toc.emplace(resolveHref(folder, href), std::move(title));
    });
    return toc;
}

TableOfContents readNcx(Archive& archive, const std::string& path) {
    TableOfContents toc;
    const std::optional<std::string> bytes = archive.read(path);
    if (!bytes) return toc;
    const XmlDoc doc = parseXml(*bytes);
    if (!doc) return toc;
    const std::string folder = folderOf(path);
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* n) {
        if (!named(n, "navPoint")) return;
        std::string title, src;
        for (xmlNode* c = n->children; c != nullptr; c = c->next) {
            if (named(c, "navLabel") && title.empty()) title = textOf(c);
            if (named(c, "content") && src.empty()) src = attribute(c, "src");
        }
        if (!title.empty() && !src.empty()) toc.emplace(resolveHref(folder, src), std::move(title));
    });
    return toc;
}

// ---- The book

// A heading's text as compared with a chapter's title: lower case, letters
// and digits only.
std::string comparable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || u >= 0x80) out += static_cast<char>(std::tolower(u));
    }
    return out;
}

bool sameTitle(const std::string& heading, const std::string& title) {
    const std::string a = comparable(heading), b = comparable(title);
    return !a.empty() && !b.empty() && (a.starts_with(b) || b.starts_with(a));
}

class BookAssembler {
public:
    explicit BookAssembler(layout::BookDocument& book) : book_(book) {}

    std::string latin(std::string_view utf8) {
        std::string out;
        mapper_.putUtf8(utf8, out);
        return detail::collapseSpaces(out);
    }

    void startChapter(std::string title) {
        book_.chapters.push_back({latin(title), {}});
        titlePending_ = true;
    }

    void add(const XhtmlBlock& block) {
        if (book_.chapters.empty()) book_.chapters.emplace_back();
        layout::Chapter& chapter = book_.chapters.back();
        if (block.kind == XhtmlBlock::Kind::Verse) {
            std::vector<std::string> lines;
            for (const std::string& l : block.lines) lines.push_back(latin(l));
            detail::addVerse(chapter, lines);
            titlePending_ = false;
            return;
        }
        const std::string text = latin(block.lines[0]);
        if (block.kind == XhtmlBlock::Kind::Heading && titlePending_) {
            // The chapter's own heading is its title, not repeated as text.
            if (sameTitle(text, chapter.title)) {
                titlePending_ = false;
                return;
            }
        } else {
            titlePending_ = false;
        }
        detail::addParagraph(chapter, text);
    }

    bool showable() const { return mapper_.showable(); }

private:
    layout::BookDocument& book_;
    Latin1Mapper mapper_;
    bool titlePending_ = false;
};

layout::BookDocument readEpub(std::string_view bytes, const std::string& name) {
    xmlInitParser();
    Archive archive(bytes);
    const Package package = readPackage(archive);
    if (package.spine.empty()) throw ImportFailure{reason::kNoContent};
    refuseDrm(archive, package);

    TableOfContents toc;
    if (!package.navPath.empty()) toc = readNav(archive, package.navPath);
    if (toc.empty() && !package.ncxPath.empty()) toc = readNcx(archive, package.ncxPath);
    const bool tocNamesSpine = std::any_of(package.spine.begin(), package.spine.end(),
                                           [&](const std::string& p) { return toc.count(p) != 0; });

    std::vector<std::vector<XhtmlBlock>> documents;
    std::vector<const std::string*> paths;
    bool topHeadings = false;
    for (const std::string& path : package.spine) {
        const std::optional<std::string> content = archive.read(path);
        if (!content) continue;
        documents.push_back(readXhtmlBlocks(*content));
        paths.push_back(&path);
        for (const XhtmlBlock& b : documents.back())
            if (b.kind == XhtmlBlock::Kind::Heading && b.level <= 2) topHeadings = true;
    }
    if (documents.empty()) throw ImportFailure{reason::kNoContent};

    layout::BookDocument book;
    BookAssembler assembler(book);
    for (std::size_t d = 0; d < documents.size(); ++d) {
        const std::vector<XhtmlBlock>& blocks = documents[d];
        if (tocNamesSpine) {
            // A document the contents name starts a chapter; any other
            // continues the one before.
            if (const auto it = toc.find(*paths[d]); it != toc.end()) assembler.startChapter(it->second);
            for (const XhtmlBlock& b : blocks) assembler.add(b);
        } else if (topHeadings) {
            for (const XhtmlBlock& b : blocks) {
                if (b.kind == XhtmlBlock::Kind::Heading && b.level <= 2) {
                    // A heading right under another joins its title.
                    if (!book.chapters.empty() && book.chapters.back().blocks.empty() &&
                        !book.chapters.back().title.empty())
                        book.chapters.back().title += ": " + assembler.latin(b.lines[0]);
                    else
                        book.chapters.push_back({assembler.latin(b.lines[0]), {}});
                } else {
                    assembler.add(b);
                }
            }
        } else if (!blocks.empty()) {
            // One chapter a document, named by its heading when it opens
            // with one.
            const bool named = blocks.front().kind == XhtmlBlock::Kind::Heading;
            book.chapters.push_back({named ? assembler.latin(blocks.front().lines[0]) : std::string(), {}});
            for (std::size_t i = named ? 1 : 0; i < blocks.size(); ++i) assembler.add(blocks[i]);
        }
    }
    book.title = assembler.latin(package.title);
    std::string author;
    for (const std::string& creator : package.creators) author += (author.empty() ? "" : ", ") + creator;
    book.author = assembler.latin(author);
    if (!assembler.showable()) throw ImportFailure{reason::kScript};
    if (std::all_of(book.chapters.begin(), book.chapters.end(),
                    [](const layout::Chapter& c) { return c.blocks.empty(); }))
        throw ImportFailure{reason::kNoContent};
    detail::finishBook(book, name);
    return book;
}

}  // namespace

ImportResult importEpub(std::string_view bytes, const std::string& name) {
    return detail::runImport(name, [&] { return readEpub(bytes, name); });
}

}  // namespace varnet::import
