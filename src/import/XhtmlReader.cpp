// The text of an XHTML document as blocks, read with libxml2's HTML parser:
// it recovers from any markup, so a badly formed chapter still gives its
// text.
#include "EpubImport.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstring>
#include <memory>

namespace varnet::import {

namespace {

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

bool named(const xmlNode* n, const char* name) {
    return std::strcmp(reinterpret_cast<const char*>(n->name), name) == 0;
}

// Elements whose content is not the book's text.
bool isSkipped(const xmlNode* n) {
    static const char* const kSkipped[] = {"head",     "script", "style",    "title",
                                           "noscript", "svg",    "template", "math"};
    for (const char* name : kSkipped)
        if (named(n, name)) return true;
    return false;
}

// Elements that end the block before them and start one of their own.
bool isBlock(const xmlNode* n) {
    static const char* const kBlocks[] = {
        "p",       "div",    "li",     "blockquote", "section", "article", "body",       "ul",
        "ol",      "dl",     "dt",     "dd",         "table",   "tr",      "td",         "th",
        "pre",     "header", "footer", "aside",      "nav",     "figure",  "figcaption", "center",
        "address", "hr",     "main",   "caption",    "tbody",   "thead",   "tfoot",      "html"};
    for (const char* name : kBlocks)
        if (named(n, name)) return true;
    return false;
}

int headingLevel(const xmlNode* n) {
    const char* name = reinterpret_cast<const char*>(n->name);
    if (name[0] == 'h' && name[1] >= '1' && name[1] <= '6' && name[2] == '\0') return name[1] - '0';
    return 0;
}

class BlockCollector {
public:
    std::vector<XhtmlBlock> blocks;

    void text(const char* s, bool preformatted) {
        for (; *s != '\0'; ++s) {
            const char c = *s;
            if (preformatted && c == '\n') {
                breakLine();
            } else if (c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\f') {
                space_ = !line_.empty();
            } else {
                if (space_) line_ += ' ';
                space_ = false;
                line_ += c;
            }
        }
    }

    void breakLine() {
        lines_.push_back(std::move(line_));
        line_.clear();
        space_ = false;
        broken_ = true;
    }

    // Ends the open block: a heading of the given level, else a paragraph,
    // or verse when line breaks divided it.
    void flush(int level = 0) {
        lines_.push_back(std::move(line_));
        line_.clear();
        space_ = false;
        std::erase_if(lines_, [](const std::string& l) { return l.empty(); });
        if (!lines_.empty()) {
            XhtmlBlock block;
            if (level > 0 || !broken_ || lines_.size() == 1) {
                block.kind = level > 0 ? XhtmlBlock::Kind::Heading : XhtmlBlock::Kind::Paragraph;
                block.level = level;
                std::string joined;
                for (const std::string& l : lines_) {
                    if (!joined.empty()) joined += ' ';
                    joined += l;
                }
                block.lines.push_back(std::move(joined));
            } else {
                block.kind = XhtmlBlock::Kind::Verse;
                block.lines = std::move(lines_);
            }
            blocks.push_back(std::move(block));
        }
        lines_.clear();
        broken_ = false;
    }

private:
    std::vector<std::string> lines_;
    std::string line_;
    bool space_ = false;
    bool broken_ = false;
};

}  // namespace

std::vector<XhtmlBlock> readXhtmlBlocks(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return {};
    // EPUB documents are UTF-8 or, with a byte-order mark, UTF-16.
    const bool utf16 = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                             (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    const std::unique_ptr<xmlDoc, DocFree> doc(htmlReadMemory(
        bytes.data(), static_cast<int>(bytes.size()), "chapter.xhtml", utf16 ? nullptr : "UTF-8",
        HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING));
    if (!doc) return {};
    xmlNode* root = xmlDocGetRootElement(doc.get());
    BlockCollector out;
    int preformatted = 0;
    // Walks the tree without recursion, however deep the markup nests.
    xmlNode* n = root;
    while (n != nullptr) {
        bool descend = false;
        if (n->type == XML_ELEMENT_NODE) {
            if (!isSkipped(n)) {
                descend = true;
                if (named(n, "br")) {
                    out.breakLine();
                } else if (headingLevel(n) > 0 || isBlock(n)) {
                    out.flush();
                }
                if (named(n, "pre")) ++preformatted;
            }
        } else if ((n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) && n->content != nullptr) {
            out.text(reinterpret_cast<const char*>(n->content), preformatted > 0);
        }
        if (descend && n->children != nullptr) {
            n = n->children;
            continue;
        }
        // Leaves n and every parent whose last child it is.
        for (;;) {
            if (n->type == XML_ELEMENT_NODE && !isSkipped(n)) {
                if (const int level = headingLevel(n); level > 0) {
                    out.flush(level);
                } else if (isBlock(n)) {
                    if (named(n, "pre")) {
                        out.breakLine();
                        --preformatted;
                    }
                    out.flush();
                }
            }
            if (n == root) {
                n = nullptr;
                break;
            }
            if (n->next != nullptr) {
                n = n->next;
                break;
            }
            n = n->parent;
        }
    }
    out.flush();
    return std::move(out.blocks);
}

}  // namespace varnet::import
