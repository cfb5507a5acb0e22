// Small helpers shared by the benchmarks: a monotonic stopwatch, the process's peak memory,
// and the one output line each measure prints.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace qxbench {

// Seconds spent in fn, the best of `repeats` runs (the least disturbed one).
double timeBest(const std::function<void()>& fn, int repeats = 3);

// The best times of ours and of the peer over `rounds` rounds in which the two take turns, so
// that both meet the same load of a shared machine.
struct AlternateTimes
{
    double ours = 0;
    double peer = 0;
};
AlternateTimes alternateBest(int rounds, const std::function<void()>& ours,
                             const std::function<void()>& peer);

// Resident set size now and the high-water mark of this process, in bytes (from /proc/self/status).
std::int64_t currentRss();
std::int64_t peakRss();
// Resets the high-water mark so that a following peakRss() covers only what runs after it.
void resetPeakRss();

// The benchmarks draw on the offscreen platform unless the caller chose another one; call it
// before the QApplication is made.
void useOffscreenUnlessSet();

// Prints "BENCH <name> ours=<ours> peer=<peer> ratio=<ours/peer> goal=<goal>".
void report(const QString& name, double ours, double peer, double goal);

} // namespace qxbench
