#include "bench/support/BenchReport.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace qxbench {

double timeBest(const std::function<void()>& fn, int repeats)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

AlternateTimes alternateBest(int rounds, const std::function<void()>& ours,
                             const std::function<void()>& peer)
{
    AlternateTimes best{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    for (int round = 0; round < rounds; ++round) {
        best.ours = std::min(best.ours, timeBest(ours, 1));
        best.peer = std::min(best.peer, timeBest(peer, 1));
    }
    return best;
}

void useOffscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

static std::int64_t statusField(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix(key);
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(prefix)) {
            const QByteArray kb = line.mid(prefix.size()).trimmed().split(' ').value(0);
            return kb.toLongLong() * 1024;
        }
    }
    return -1;
}

std::int64_t currentRss() { return statusField("VmRSS:"); }
std::int64_t peakRss() { return statusField("VmHWM:"); }

void resetPeakRss()
{
    // Writing 5 to clear_refs resets VmHWM to the current RSS (Linux 4.0 and later).
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

void report(const QString& name, double ours, double peer, double goal)
{
    const double ratio = peer > 0 ? ours / peer : 0.0;
    std::printf("BENCH %s ours=%.6g peer=%.6g ratio=%.3f goal=%.2f\n", qPrintable(name), ours, peer,
                ratio, goal);
    std::fflush(stdout);
}

} // namespace qxbench
