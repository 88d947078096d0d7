#pragma once

// What the bench programs share: the clock, the report and the busy playing screen's contents.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace bench
{
using Clock = std::chrono::steady_clock;

inline double microsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Wall-clock microseconds since the epoch, the clock of bash's EPOCHREALTIME, so a
// start-up can be timed from the moment the caller launched the program.
inline double wallMicros()
{
    return std::chrono::duration<double, std::micro>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Peak resident memory of this process so far, in KiB.
inline long peakKiB()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

// CPU seconds this process has used so far, user and system.
inline double cpuSeconds()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](FILETIME t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#endif
}

// "name frame_us median mean p95 frames" on one line, for the runner to collect.
inline void reportFrames(const char* name, std::vector<double> frames)
{
    std::sort(frames.begin(), frames.end());
    double sum = 0;
    for (double f : frames)
        sum += f;
    std::printf("%s frame_us median %.1f mean %.1f p95 %.1f frames %zu\n", name, frames[frames.size() / 2],
                sum / static_cast<double>(frames.size()), frames[frames.size() * 95 / 100], frames.size());
}

// "name startup_ms X peak_kib Y": launch to the first displayed frame, then the peak memory.
inline void reportStartup(const char* name, double launchedWallMicros, double firstFrameWallMicros)
{
    std::printf("%s startup_ms %.1f peak_kib %ld\n", name, (firstFrameWallMicros - launchedWallMicros) / 1000.0,
                peakKiB());
}

// Start-up phases, to tell where the time goes: each mark prints, on stderr, the milliseconds
// since the previous one (the first since launch).
struct Phases
{
    const char* program;
    double last; // wall µs of the previous mark

    void mark(const char* phase)
    {
        const double now = wallMicros();
        std::fprintf(stderr, "%s phase %-10s %7.1f ms\n", program, phase, (now - last) / 1000.0);
        last = now;
    }
};

// Frames of one measured batch, and batches: the busy screen is set up again between batches so it
// stays busy (the popup fades within two seconds).
constexpr int BatchFrames = 200;
inline int batchesFromArgs(int argc, char** argv, int index, int fallback)
{
    return argc > index ? std::max(1, std::atoi(argv[index])) : fallback;
}

// The busy board: rows 4 to 7 full in every column, and column 3 full to row 1, in danger.
inline int busyCell(int row, int column)
{
    const bool taken = row >= 4 || (column == 3 && row >= 1);
    return taken ? 1 + (row * 13 + column) % 10 : 0;
}
constexpr int BusyDangerColumn = 3;
constexpr int BusyThread[8] = {1, 2, 3, 4, 5, 6, 7, 9}; // full, and unlike the pattern
constexpr int BusyPattern[8] = {1, 2, 3, 1, 2, 3, 1, 2};
constexpr int BusyStop = 6;
constexpr int BusyFallingColumn = 8, BusyFallingRow = 1, BusyFallingCode = 2;
constexpr int BusyPopupPoints = 440;
} // namespace bench
