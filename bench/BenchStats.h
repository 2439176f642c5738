// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Medians and ratios for the benchmarks: each one runs our code and its
// peer alternately, several times, and reports the median of each.

#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>

inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    if (n == 0)
        return 0;
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline void report(const char *what, const QList<double> &ours, const QList<double> &peer,
                   const char *unit, double goal)
{
    const double a = median(ours);
    const double b = median(peer);
    const double ratio = b > 0 ? a / b : 0;
    std::printf("%s: ours %.3f %s, peer %.3f %s (median of %lld), ratio %.3f, goal <= %.2f: %s\n",
                what, a, unit, b, unit, static_cast<long long>(ours.size()), ratio, goal,
                ratio <= goal ? "met" : "MISSED");
    std::fflush(stdout);
}
