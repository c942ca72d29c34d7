// The process's own memory figures, for benchmarks that measure how much a
// step takes above what the process held before it. Run such a benchmark
// in a process of its own: the peak is the process's.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

#include <malloc.h>

namespace varnet::bench {

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when missing.
inline long statusKib(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return 0;
}

// Gives memory freed inside the heap back to the system (so a step cannot
// hide in it), resets the peak to what is held now, and returns that.
inline long resetPeakKib() {
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    return statusKib("VmRSS");
}

}  // namespace varnet::bench
