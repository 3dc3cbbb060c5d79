#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

// Median and minimum of repeated timings, printed in milliseconds.
inline void printStats(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%s: median %.2f ms, min %.2f ms, max %.2f ms over %zu runs\n", what, median,
                ms.front(), ms.back(), ms.size());
}
