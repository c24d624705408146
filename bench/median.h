// The figure every paired benchmark reports: the median of its rounds.
#pragma once

#include <algorithm>
#include <vector>

// The middle value, or the mean of the two middle ones; 0 for no values.
inline double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
