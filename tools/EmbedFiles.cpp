// Build step: turns data files into a C++ source of byte arrays, so that the
// built-in texts are compiled into the program and nothing is read from the
// working folder at run time.
//
// Usage: varnet_embed OUTPUT.cpp NAME=PATH...
// Each NAME becomes `extern const std::string_view varnet::embedded::NAME`.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: varnet_embed OUTPUT.cpp NAME=PATH...\n";
        return 2;
    }
    std::ostringstream out;
    out << "// Generated at build time from the files in data/. Do not edit.\n"
        << "#include <string_view>\n\nnamespace varnet::embedded {\n";
    for (int a = 2; a < argc; ++a) {
        const std::string arg = argv[a];
        const auto eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::cerr << "varnet_embed: expected NAME=PATH, got " << arg << "\n";
            return 2;
        }
        const std::string name = arg.substr(0, eq);
        const std::string path = arg.substr(eq + 1);
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "varnet_embed: cannot read " << path << "\n";
            return 1;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        out << "static const unsigned char " << name << "_bytes[] = {";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i % 24 == 0) out << "\n";
            out << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ',';
        }
        out << "0};\nextern const std::string_view " << name << ";\nconst std::string_view " << name
            << "(reinterpret_cast<const char*>(" << name << "_bytes), " << bytes.size() << ");\n\n";
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
