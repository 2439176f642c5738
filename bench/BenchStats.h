// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Medians and ratios for the benchmarks: each one runs our code and its
// peer alternately, several times, and reports the median of each with the
// lowest and highest round beside it.

#include <QByteArray>
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

// "min / median / max" of the rounds.
inline QByteArray spread(const QList<double> &values, int decimals = 3)
{
    if (values.isEmpty())
        return "-";
    const auto [low, high] = std::minmax_element(values.cbegin(), values.cend());
    return QString::fromLatin1("%1 / %2 / %3")
        .arg(*low, 0, 'f', decimals)
        .arg(median(values), 0, 'f', decimals)
        .arg(*high, 0, 'f', decimals)
        .toLatin1();
}

inline void report(const char *what, const QList<double> &ours, const QList<double> &peer,
                   const char *unit, double goal)
{
    const double a = median(ours);
    const double b = median(peer);
    const double ratio = b > 0 ? a / b : 0;
    std::printf("%s: ours %.3f %s, peer %.3f %s (median of %lld), ratio %.3f, goal <= %.2f: %s\n"
                "  min / median / max: ours %s, peer %s\n",
                what, a, unit, b, unit, static_cast<long long>(ours.size()), ratio, goal,
                ratio <= goal ? "met" : "MISSED", spread(ours).constData(),
                spread(peer).constData());
    std::fflush(stdout);
}
