// Build step: turns data files into a C++ source of byte arrays, so that the
// built-in texts are compiled into the program and nothing is read from the
// working folder at run time.
//
// Usage: varnet_embed OUTPUT.cpp ENTRY...
//   NAME=PATH         `extern const std::string_view varnet::embedded::NAME`,
//                     the file's bytes;
//   NAME:lines=PATH   `extern const varnet::LineTable varnet::embedded::NAME`,
//                     the file's lines, read as the reader reads a text;
//   NAME:opened=PATH  the same, for the text as opening it for reading makes
//                     it, so that the program can read it in place.

#include "LineList.h"
#include "OpenedText.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

void writeBytes(std::ostringstream& out, const std::string& name, std::string_view bytes) {
    out << "static const unsigned char " << name << "_bytes[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 24 == 0) out << "\n";
        out << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ',';
    }
    out << "0};\n";
}

void writeTable(std::ostringstream& out, const std::string& name, const varnet::LineList& lines) {
    std::string joined;
    std::ostringstream ends;
    for (std::int32_t i = 0; i < lines.count(); ++i) {
        joined += lines[i];
        if (i % 12 == 0) ends << "\n";
        ends << joined.size() << "u,";
    }
    writeBytes(out, name, joined);
    out << "static const std::uint32_t " << name << "_ends[] = {" << ends.str() << "0u};\n"
        << "extern const LineTable " << name << ";\nconst LineTable " << name
        << "{std::string_view(reinterpret_cast<const char*>(" << name << "_bytes), " << joined.size()
        << "), std::span<const std::uint32_t>(" << name << "_ends, " << lines.count() << ")};\n\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: varnet_embed OUTPUT.cpp NAME[:lines|:opened]=PATH...\n";
        return 2;
    }
    std::ostringstream out;
    out << "// Generated at build time from the files in data/. Do not edit.\n"
        << "#include \"LineList.h\"\n\n#include <cstdint>\n#include <span>\n#include <string_view>\n\n"
        << "namespace varnet::embedded {\n";
    for (int a = 2; a < argc; ++a) {
        const std::string arg = argv[a];
        const auto eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::cerr << "varnet_embed: expected NAME=PATH, got " << arg << "\n";
            return 2;
        }
        std::string name = arg.substr(0, eq);
        std::string form;
        if (const auto colon = name.find(':'); colon != std::string::npos) {
            form = name.substr(colon + 1);
            name.resize(colon);
        }
        if (!form.empty() && form != "lines" && form != "opened") {
            std::cerr << "varnet_embed: unknown form " << form << " in " << arg << "\n";
            return 2;
        }
        const std::string path = arg.substr(eq + 1);
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "varnet_embed: cannot read " << path << "\n";
            return 1;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (form.empty()) {
            writeBytes(out, name, bytes);
            out << "extern const std::string_view " << name << ";\nconst std::string_view " << name
                << "(reinterpret_cast<const char*>(" << name << "_bytes), " << bytes.size() << ");\n\n";
        } else {
            const varnet::LineList lines = varnet::LineList::fromBytes(bytes);
            writeTable(out, name, form == "opened" ? varnet::openedText(lines) : lines);
        }
    }
    out << "}  // namespace varnet::embedded\n";

    // Leave the output untouched when nothing changed, so the build does not
    // recompile it needlessly.
    const std::string text = out.str();
    {
        std::ifstream old(argv[1], std::ios::binary);
        if (old) {
            const std::string prev((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
            if (prev == text) return 0;
        }
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << text;
    return file ? 0 : 1;
}
