// pool_sizing.h: how many threads read ahead of the pass, decided from what the reads took so far.
#pragma once

#include <chrono>
#include <cstdint>

#include "common/row_list.h"

namespace kavren {

// How many worker threads read files ahead of the pass: `first` start with
// it. Whenever the pass finds the file it needs still being read, and reads
// take `slow_read` or longer on average (they wait on the storage, not on a
// processor), the pool doubles, up to `most` and never past the files not
// yet taken; a step that reads no faster is taken back, and growing stops.
// Files in the page cache keep the first few; a share or a disk that
// answers many opens at once, each after a round trip, gets the most.
// `most` is bounded by the 32-bit program's address space: each thread
// reserves a 1 MB stack there.
struct ReadAheadPool {
  int first;
  int most;
  std::chrono::microseconds slow_read = std::chrono::microseconds(100);
};
inline constexpr ReadAheadPool kReadAheadPool = {8, 48};

// What the reads took while the pool had one size.
struct ReadSpan {
  int threads = 0;
  std::int64_t reads = 0;
  std::int64_t ns = 0;  // all the reads' times added up
  [[nodiscard]] double Latency() const noexcept { return static_cast<double>(ns) / static_cast<double>(reads); }
  [[nodiscard]] double Throughput() const noexcept { return threads / Latency(); }
};

// What to do with a pool of `now.threads` when the pass has caught up with
// its reads: keep it, grow it to `threads`, or take the last step back to
// `threads` and grow no more (`settled`).
struct PoolStep {
  int threads;
  bool settled = false;
};

// `now` is what the reads took since the pool last changed, `before` what
// they took at the size before (no threads before the first step), and
// `untaken` the files no thread has begun to read.
[[nodiscard]] PoolStep NextPoolStep(const ReadAheadPool& pool, const ReadSpan& now, const ReadSpan& before,
                                    RowIndex untaken) noexcept;

}  // namespace kavren
