// varnet-import: imports and lays out one book for the reader, in a process
// of its own, and writes the laid-out book (or the one message saying why it
// could not be imported) on its standard output.
//
// Usage: varnet-import --import FILE
#include "InProcessImporter.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <sys/resource.h>

namespace {

// A hostile book must not take the machine's memory: the import's address
// space is bounded (not under the sanitizers, which reserve far more).
void boundMemory() {
#if !defined(__SANITIZE_ADDRESS__) && !defined(VARNET_SANITIZED)
    const rlim_t most = rlim_t{4} << 30;
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > most)) {
        limit.rlim_cur = most;
        (void)::setrlimit(RLIMIT_AS, &limit);
    }
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::strcmp(argv[1], "--import") != 0) {
        std::fputs("Usage: varnet-import --import FILE\n", stderr);
        return 2;
    }
    boundMemory();
    varnet::ImportOutcome outcome;
    try {
        outcome = varnet::InProcessImporter().importBook(argv[2]);
    } catch (const std::bad_alloc&) {
        outcome.error = varnet::importFailure(argv[2], varnet::kImportNeedsTooMuchMemory);
    }
    const std::string answer = varnet::encodeOutcome(outcome);
    if (std::fwrite(answer.data(), 1, answer.size(), stdout) != answer.size() || std::fflush(stdout) != 0)
        return 1;
    return 0;
}
