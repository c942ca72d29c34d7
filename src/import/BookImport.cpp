#include "BookImport.h"

#include "BookFiles.h"

#include "EpubImport.h"
#include "ImportCommon.h"
#include "ImportReasons.h"
#include "TextImport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace varnet::import {

namespace {

using Format = ImportFormat;

// Reads the whole regular file; the reason when it cannot. The size is
// checked before anything is read, and the read stops past the limit
// should the file grow meanwhile.
const char* readFile(const std::string& path, std::string& out) {
    // O_NONBLOCK keeps the open of a pipe from waiting; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return reason::kUnreadable;
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return reason::kUnreadable;
    if (st.st_size < 0 || static_cast<std::uintmax_t>(st.st_size) > kMaxImportBytes) return reason::kTooLarge;
    out.assign(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t have = 0;
    for (;;) {
        if (have == out.size()) {
            if (out.size() > kMaxImportBytes) return reason::kTooLarge;
            out.resize(std::min(kMaxImportBytes + 1, out.size() * 2));
        }
        const ssize_t n = ::read(fd, out.data() + have, out.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            return reason::kUnreadable;
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    if (have > kMaxImportBytes) return reason::kTooLarge;
    out.resize(have);
    return nullptr;
}

}  // namespace

bool isImportable(std::string_view path) {
    return importFormatOf(path) != Format::None;
}

ImportResult importBook(const std::string& path) {
    const Format format = importFormatOf(path);
    ImportResult result;
    if (format == Format::None) {
        result.error = detail::failureMessage(path, reason::kNotImportable);
        return result;
    }
    std::string bytes;
    if (const char* failure = readFile(path, bytes)) {
        result.error = detail::failureMessage(path, failure);
        return result;
    }
    if (bytes.empty()) {
        result.error = detail::failureMessage(path, reason::kEmpty);
        return result;
    }
    switch (format) {
        case Format::Text:
            return importPlainText(bytes, path);
        case Format::Markdown:
            return importMarkdown(bytes, path);
        default:
            return importEpub(bytes, path);
    }
}

}  // namespace varnet::import
