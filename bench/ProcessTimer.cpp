// Runs a program a number of times and reports the median and worst wall
// time from exec to its exit, and the peak memory (maximum resident set) over
// the runs. A probe that reports its first frame on standard output (see
// FirstFrameProbe.h) also gets the median time from exec to that frame and the
// median peak resident set and minor page faults at that moment.
//
// Usage: varnet_process_timer NAME RUNS PROGRAM [ARGS...]
// Prints one line:
//   NAME [first_frame_ms=... frame_hwm_kib=... frame_minflt=...] median_ms=... worst_ms=... peak_rss_kib=...
//   runs=...

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

long long nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

template <typename T>
T median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s NAME RUNS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[2]));
    std::vector<double> ms, frameMs;
    std::vector<long> frameHwm, frameMinflt;
    long peakKib = 0;
    for (int r = 0; r < runs; ++r) {
        int out[2];
        if (pipe(out) != 0) return 1;
        const long long begin = nowNs();
        const pid_t pid = fork();
        if (pid == 0) {
            close(out[0]);
            dup2(out[1], 1);
            close(out[1]);
            execvp(argv[3], argv + 3);
            _exit(127);
        }
        close(out[1]);
        std::string report;
        char buffer[512];
        for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
        close(out[0]);
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s: run %d failed\n", argv[1], r);
            return 1;
        }
        ms.push_back(static_cast<double>(nowNs() - begin) / 1e6);
        peakKib = std::max(peakKib, usage.ru_maxrss);
        long long frameNs = 0;
        long hwm = 0, minflt = 0;
        if (const auto at = report.find("first_frame_ns="); at != std::string::npos) {
            if (std::sscanf(report.c_str() + at, "first_frame_ns=%lld vmhwm_kib=%ld minflt=%ld", &frameNs,
                            &hwm, &minflt) != 3) {
                std::fprintf(stderr, "%s: run %d gave an unreadable report: %s\n", argv[1], r,
                             report.c_str());
                return 1;
            }
            frameMs.push_back(static_cast<double>(frameNs - begin) / 1e6);
            frameHwm.push_back(hwm);
            frameMinflt.push_back(minflt);
        }
    }
    std::printf("%s ", argv[1]);
    if (frameMs.size() == ms.size())
        std::printf("first_frame_ms=%.2f frame_hwm_kib=%ld frame_minflt=%ld ", median(frameMs),
                    median(frameHwm), median(frameMinflt));
    std::printf("median_ms=%.2f worst_ms=%.2f peak_rss_kib=%ld runs=%d\n", median(ms),
                *std::max_element(ms.begin(), ms.end()), peakKib, runs);
    return 0;
}
