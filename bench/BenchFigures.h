#pragma once

// What the benchmarks share: the median of timed runs, and one printed line
// per figure.

#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <functional>

inline double median(QList<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.at(samples.size() / 2);
}

// The median wall time in milliseconds of `runs` calls of `work`; `reset`,
// untimed, runs after each.
inline double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &reset = {})
{
    QList<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
        if (reset)
            reset();
    }
    return median(times);
}

// The label, the figure, and its target when it has one.
inline void report(const char *what, double ms, double targetMs)
{
    if (targetMs > 0)
        std::printf("%-62s %8.3f ms  (target <= %.0f ms)\n", what, ms, targetMs);
    else
        std::printf("%-62s %8.3f ms\n", what, ms);
}
