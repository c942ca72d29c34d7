// Runs a program many times and reports the median and worst wall time and
// the peak memory (maximum resident set) over the runs.
//
// Usage: varnet_process_timer NAME RUNS PROGRAM [ARGS...]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s NAME RUNS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[2]));
    std::vector<double> ms;
    long peakKb = 0;
    for (int r = 0; r < runs; ++r) {
        const auto begin = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            execvp(argv[3], argv + 3);
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s: run %d failed\n", argv[1], r);
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
        peakKb = std::max(peakKb, usage.ru_maxrss);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s median_ms=%.2f worst_ms=%.2f peak_rss_kib=%ld runs=%d\n", argv[1], ms[ms.size() / 2], ms.back(),
                peakKb, runs);
    return 0;
}
