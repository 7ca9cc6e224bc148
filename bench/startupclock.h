// The clocks of a cold start-up, shared by startup_probe and its baseline
// startup_bare so that both are timed alike: wall time from the moment the
// shell launched the process (LANSHI_LAUNCHED_NS, nanoseconds since the
// epoch), and the process's own CPU time.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sys/resource.h>

namespace startup {

// When the shell launched `program`, or nothing (after a line that says how
// to give it) when LANSHI_LAUNCHED_NS is not set.
inline std::optional<long long> launchedNs(const char* program) {
    const char* launched = std::getenv("LANSHI_LAUNCHED_NS");
    if (launched == nullptr) {
        std::fprintf(stderr, "%s: set LANSHI_LAUNCHED_NS=$(date +%%s%%N)\n", program);
        return std::nullopt;
    }
    return std::atoll(launched);
}

inline double millisecondsSince(long long startNs) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() - startNs) /
           1e6;
}

inline double cpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

} // namespace startup
