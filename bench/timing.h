// timing.h: the benchmarks' shared arithmetic -- elapsed milliseconds and the median of rounds.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace kavren::bench {

inline double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The middle round: on a noisy machine one slow round says nothing.
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace kavren::bench
