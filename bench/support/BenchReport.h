// Small helpers shared by the benchmarks: a monotonic stopwatch, the process's peak memory,
// and the one output line each measure prints.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace qxbench {

// Seconds spent in fn, the best of `repeats` runs (the least disturbed one).
double timeBest(const std::function<void()>& fn, int repeats = 3);

// Resident set size now and the high-water mark of this process, in bytes (from /proc/self/status).
std::int64_t currentRss();
std::int64_t peakRss();
// Resets the high-water mark so that a following peakRss() covers only what runs after it.
void resetPeakRss();

// Prints "BENCH <name> ours=<ours> peer=<peer> ratio=<ours/peer> goal=<goal>".
void report(const QString& name, double ours, double peer, double goal);

} // namespace qxbench
