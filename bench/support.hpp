// Small helpers shared by the benchmark programs: clocks, order statistics, memory figures and
// the one-line result format that scripts/bench.sh gathers into its table.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <time.h>
#include <vector>

namespace bench {

inline double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

inline double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The value below which `fraction` of the samples lie (nearest rank); 0.5 is the median.
inline double Quantile(std::vector<double> samples, double fraction) {
    if (samples.empty()) return 0.0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[std::min(rank, samples.size() - 1)];
}

inline double Median(const std::vector<double>& samples) { return Quantile(samples, 0.5); }

inline double Max(const std::vector<double>& samples) {
    return samples.empty() ? 0.0 : *std::max_element(samples.begin(), samples.end());
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
inline long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::atol(line.c_str() + length + 1);
    return -1;
}

inline double RssMb() { return static_cast<double>(StatusKb("VmRSS")) / 1024.0; }
inline double PeakRssMb() { return static_cast<double>(StatusKb("VmHWM")) / 1024.0; }

// One row of the summary table: "FIGURE|name|target|measured|PASS or FAIL". The script takes the
// median of the numeric part of `measured` over its runs and judges it against `limit` again.
// `at_most`: the figure passes when it is at most the limit; otherwise when it is at least it.
inline void Figure(const char* name, double value, const char* unit, bool at_most, double limit) {
    const bool pass = at_most ? value <= limit : value >= limit;
    std::printf("FIGURE|%s|%s %g %s|%.3f %s|%s\n", name, at_most ? "<=" : ">=", limit, unit, value, unit,
                pass ? "PASS" : "FAIL");
    std::fflush(stdout);
}

// A row without a target of its own, shown for context.
inline void Info(const char* name, double value, const char* unit) {
    std::printf("FIGURE|%s|-|%.3f %s|-\n", name, value, unit);
    std::fflush(stdout);
}

// Reads "--name value" from the command line.
inline double Option(int argc, char** argv, const char* name, double fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return std::atof(argv[i + 1]);
    return fallback;
}

inline bool Flag(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return true;
    return false;
}

}  // namespace bench
