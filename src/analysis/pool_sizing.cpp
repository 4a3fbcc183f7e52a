// pool_sizing.cpp: the read-ahead pool's growth, apart from the threads it sizes.
#include "analysis/pool_sizing.h"

#include <algorithm>

namespace kavren {
namespace {

// A larger pool is kept only if it reads this much faster than the one before.
constexpr double kWorthwhileGain = 1.25;

}  // namespace

// If reads wait on the storage (a round trip to a share, a seek) rather
// than on a processor, more of them at once are answered in the time of
// one: the pool grows, and goes on growing while each step reads faster.
// Where reads queue for one server or a disk that answers one at a time, a
// step gains nothing: it is taken back, and growing stops.
PoolStep NextPoolStep(const ReadAheadPool& pool, const ReadSpan& now, const ReadSpan& before,
                      RowIndex untaken) noexcept {
  const int threads = now.threads;
  if (threads == 0 || threads >= pool.most) return {threads};
  // Too few reads at this size to tell; or reads too quick to wait on
  // anything but a processor, where more threads would only queue.
  if (now.reads < threads || now.Latency() < static_cast<double>(std::chrono::nanoseconds(pool.slow_read).count())) {
    return {threads};
  }
  if (before.threads > 0 && now.Throughput() < kWorthwhileGain * before.Throughput()) return {before.threads, true};
  // A thread that would find nothing to read costs its start and its stack for nothing.
  const RowIndex grown = std::min<RowIndex>({2 * static_cast<RowIndex>(threads), pool.most, threads + untaken});
  return {static_cast<int>(grown)};
}

}  // namespace kavren
