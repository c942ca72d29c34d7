#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <system_error>
#include <utility>

namespace varnet {

namespace {

std::function<bool(AtomicFile::Step)>& failureHook() {
    static std::function<bool(AtomicFile::Step)> hook;
    return hook;
}

// True when the test hook asks for this step to fail; errno is then set as
// a full disk would set it.
bool injectedFailure(AtomicFile::Step step) {
    const auto& hook = failureHook();
    if (hook && hook(step)) {
        errno = ENOSPC;
        return true;
    }
    return false;
}

std::string systemText(int code) {
    return std::generic_category().message(code);
}

FileResult lastError() {
    return FileResult::failure(systemText(errno));
}

// The folder part of path ("." for a bare name) and the file's own name.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Opens a new, uniquely named file beside the target. The name starts with
// "." so a left-over (after a power cut) stays out of sight.
int createTemporary(const std::string& folder, const std::string& name, mode_t mode, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem =
        (folder == "/" ? "/." : folder + "/.") + name + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + std::to_string(counter.fetch_add(1)) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The rename has already put the new file in place; a folder that cannot
    // be synced (some file systems refuse) does not undo that, so it is no
    // failure of the write.
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

void AtomicFile::setFailureHook(std::function<bool(Step)> hook) {
    failureHook() = std::move(hook);
}

FileResult AtomicFile::write(const std::string& path, std::string_view bytes) {
    return writeWith(path, [&](int fd) { return writeAll(fd, bytes); });
}

FileResult AtomicFile::writeLines(const std::string& path, const std::vector<std::string>& lines) {
    // Written a piece at a time, so that a long text is never held twice.
    return writeWith(path, [&](int fd) {
        constexpr std::size_t kPiece = std::size_t{1} << 16;
        std::string piece;
        piece.reserve(kPiece + 256);
        for (const std::string& line : lines) {
            piece += line;
            piece += "\r\n";
            if (piece.size() >= kPiece) {
                if (!writeAll(fd, piece)) return false;
                piece.clear();
            }
        }
        return writeAll(fd, piece);
    });
}

FileResult AtomicFile::writeWith(const std::string& path, const std::function<bool(int)>& writeBody) {
    if (path.empty() || path.back() == '/') return FileResult::failure(systemText(ENOENT));
    const auto [folder, name] = splitPath(path);

    // Keep the permissions of the file being replaced; a link or anything else
    // at the path gets those of a new file.
    struct stat old {};
    const bool keepMode = ::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    std::string tempPath;
    const int fd = injectedFailure(Step::create) ? -1 : createTemporary(folder, name, 0644, tempPath);
    if (fd < 0) return lastError();

    auto abandon = [&](bool isOpen) {
        const int saved = errno;
        if (isOpen) ::close(fd);
        ::unlink(tempPath.c_str());
        return FileResult::failure(systemText(saved));
    };

    if (keepMode && ::fchmod(fd, old.st_mode & 07777) != 0) return abandon(true);
    if (injectedFailure(Step::write) || !writeBody(fd)) return abandon(true);
    if (injectedFailure(Step::sync) || ::fsync(fd) != 0) return abandon(true);
    // close can report a delayed write error (network file systems).
    if (::close(fd) != 0) return abandon(false);
    if (injectedFailure(Step::rename) || ::rename(tempPath.c_str(), path.c_str()) != 0) return abandon(false);

    syncFolder(folder);
    return {};
}

namespace {

// Opens a file for a whole read, refusing what readWholeFile refuses before
// reading: a folder, a device, a pipe, a file over kMaxReadBytes. Returns the
// open descriptor and the file's size, or the failure's code (-1 then).
int openForWholeRead(const std::string& path, std::size_t& size, int& code) {
    // O_NONBLOCK keeps the open of a pipe from waiting for a writer; it is
    // refused below as not a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        code = errno;
        return -1;
    }
    struct stat st {};
    code = 0;
    if (::fstat(fd, &st) != 0)
        code = errno;
    else if (S_ISDIR(st.st_mode))
        code = EISDIR;
    else if (!S_ISREG(st.st_mode))
        code = EINVAL;
    else if (st.st_size < 0 || static_cast<std::uintmax_t>(st.st_size) > kMaxReadBytes)
        code = EFBIG;
    if (code != 0) {
        ::close(fd);
        return -1;
    }
    size = static_cast<std::size_t>(st.st_size);
    return fd;
}

}  // namespace

FileResult canReadWholeFile(const std::string& path) {
    std::size_t size = 0;
    int code = 0;
    const int fd = openForWholeRead(path, size, code);
    if (fd < 0) return FileResult::failure(systemText(code));
    ::close(fd);
    return {};
}

FileResult readWholeFile(const std::string& path, std::string& out) {
    std::size_t size = 0;
    int opened = 0;
    const int fd = openForWholeRead(path, size, opened);
    if (fd < 0) return FileResult::failure(systemText(opened));
    auto fail = [fd](int code) {
        ::close(fd);
        return FileResult::failure(systemText(code));
    };

    std::string data;
    data.resize(size);
    std::size_t have = 0;
    // Read until end of file, not just the size seen at open: the file may
    // grow or shrink meanwhile. Never past the cap.
    for (;;) {
        if (have == data.size()) {
            if (data.size() > kMaxReadBytes) return fail(EFBIG);
            data.resize(std::min(kMaxReadBytes + 1, std::max<std::size_t>(data.size() * 2, 4096)));
        }
        const ssize_t n = ::read(fd, data.data() + have, data.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    if (have > kMaxReadBytes) return fail(EFBIG);
    ::close(fd);
    data.resize(have);
    out = std::move(data);
    return {};
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace varnet
