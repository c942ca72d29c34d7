#include "BookImporter.h"

#include "MyBooks.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace varnet {

namespace {

constexpr std::string_view kSignature = "varnet-import 1";
// A laid-out book the reader could open is well below both bounds; an answer
// beyond them is not believed.
constexpr std::size_t kMostOutputBytes = std::size_t{512} << 20;
constexpr std::size_t kMostLines = 20'000'000;

void putList(std::string& out, const char* name, const std::vector<std::string>& lines) {
    out += name;
    out += ' ';
    out += std::to_string(lines.size());
    out += '\n';
    for (const auto& l : lines) {
        out += oneLine(l);
        out += '\n';
    }
}

// Reads lines one by one from the helper's answer.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    std::optional<std::string_view> line() {
        if (at_ >= bytes_.size()) return std::nullopt;
        const auto end = bytes_.find('\n', at_);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view l = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        return l;
    }
    std::optional<std::string> field(std::string_view name) {
        const auto l = line();
        if (!l || l->size() < name.size() + 1 || l->substr(0, name.size()) != name ||
            (*l)[name.size()] != '=')
            return std::nullopt;
        return std::string(l->substr(name.size() + 1));
    }
    bool list(std::string_view name, std::vector<std::string>& out) {
        const auto l = line();
        if (!l || l->substr(0, name.size() + 1) != std::string(name) + " ") return false;
        std::size_t count = 0;
        for (const char c : l->substr(name.size() + 1)) {
            if (c < '0' || c > '9' || count > (std::size_t{1} << 32)) return false;
            count = count * 10 + static_cast<std::size_t>(c - '0');
        }
        // Every line takes at least its line end: a count beyond what is
        // left cannot be true, nor one beyond any book's.
        if (count > bytes_.size() - at_ || count > kMostLines) return false;
        out.reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            const auto item = line();
            if (!item) return false;
            out.emplace_back(*item);
        }
        return true;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::string importFailure(const std::string& path, const std::string& reason) {
    return "Cannot import " + path + ": " + reason;
}

std::string encodeOutcome(const ImportOutcome& outcome) {
    std::string out(kSignature);
    out += '\n';
    if (!outcome.book) {
        out += "error=" + oneLine(outcome.error) + "\n";
        return out;
    }
    const ImportedText& book = *outcome.book;
    std::size_t total = 64 + book.title.size() + book.author.size();
    for (const auto* list : {&book.text.chapterTitles, &book.text.stored, &book.text.indexLines})
        for (const auto& l : *list) total += l.size() + 1;
    out.reserve(total);
    out += "title=" + oneLine(book.title) + "\n";
    out += "author=" + oneLine(book.author) + "\n";
    putList(out, "chapters", book.text.chapterTitles);
    putList(out, "stored", book.text.stored);
    putList(out, "index", book.text.indexLines);
    return out;
}

std::optional<ImportOutcome> decodeOutcome(std::string_view bytes) {
    Reader in(bytes);
    const auto signature = in.line();
    if (!signature || *signature != kSignature) return std::nullopt;
    ImportOutcome outcome;
    const auto first = in.line();
    if (!first) return std::nullopt;
    if (first->substr(0, 6) == "error=") {
        outcome.error = std::string(first->substr(6));
        if (outcome.error.empty() || !in.atEnd()) return std::nullopt;
        return outcome;
    }
    if (first->substr(0, 6) != "title=") return std::nullopt;
    ImportedText book;
    book.title = std::string(first->substr(6));
    const auto author = in.field("author");
    if (!author) return std::nullopt;
    book.author = *author;
    if (!in.list("chapters", book.text.chapterTitles) || !in.list("stored", book.text.stored) ||
        !in.list("index", book.text.indexLines) || !in.atEnd() || book.text.stored.empty())
        return std::nullopt;
    outcome.book = std::move(book);
    return outcome;
}

ImportOutcome HelperProcessImporter::importBook(const std::string& path) {
    ImportOutcome outcome;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        outcome.error = importFailure(
            path, std::string("the import could not be started (") + std::strerror(errno) + ")");
        return outcome;
    }
    // The helper gets its answer pipe, no input, the reader's error output,
    // no other descriptor of the reader's, and the default signal handling.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults, none;
    sigfillset(&defaults);
    sigdelset(&defaults, SIGKILL);
    sigdelset(&defaults, SIGSTOP);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    std::string program = helperPath_;
    std::string option = "--import";
    std::string file = path;
    char* argv[] = {program.data(), option.data(), file.data(), nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, helperPath_.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        outcome.error = importFailure(path, "the import helper " + helperPath_ + " could not be started (" +
                                                std::strerror(spawned) + ")");
        return outcome;
    }

    // The answer, read until the helper closes it or the time is up.
    std::string answer;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds_);
    bool timedOut = false, tooLong = false, readFailed = false;
    char chunk[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{pipeFds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) {
            readFailed = true;
            break;
        }
        if (ready == 0) continue;
        const ssize_t n = ::read(pipeFds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        answer.append(chunk, static_cast<std::size_t>(n));
        if (answer.size() > kMostOutputBytes) {
            tooLong = true;
            break;
        }
    }
    ::close(pipeFds[0]);
    if (timedOut || tooLong || readFailed) ::kill(child, SIGKILL);
    // A helper that closed its answer but goes on running is stopped once
    // the time is up.
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child || (done < 0 && errno != EINTR)) break;
        if (done == 0 && std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        if (done == 0) ::usleep(2000);
    }

    if (timedOut) {
        outcome.error = importFailure(path, "the import took too long and was stopped");
        return outcome;
    }
    if (WIFSIGNALED(status) || tooLong || readFailed) {
        outcome.error = importFailure(path, "the import stopped unexpectedly");
        return outcome;
    }
    if (auto decoded = decodeOutcome(answer)) return std::move(*decoded);
    outcome.error = importFailure(path, "the import helper " + helperPath_ + " gave no usable answer");
    return outcome;
}

}  // namespace varnet
