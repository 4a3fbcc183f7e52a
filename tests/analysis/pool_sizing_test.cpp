// pool_sizing_test.cpp: when the read-ahead pool grows, stays, or takes its last step back.
#include "analysis/pool_sizing.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

TEST(NextPoolStep, GrowsWhileReadsAreSlowAndEachStepPaysNeverPastTheRowsLeftOrTheMostAndTakesBackAStepThatDoesNot) {
  constexpr ReadAheadPool kShare = {8, 48};
  // Reads at 200 us each, the last size's reads at 200 us with 8 threads.
  constexpr ReadSpan kEightSlow = {8, 16, 16 * 200'000};
  // The pool, this size's reads, the last size's, the rows not yet taken, and the step.
  const std::tuple<ReadAheadPool, ReadSpan, ReadSpan, RowIndex, PoolStep> rows[] = {
      {kShare, kEightSlow, {}, 1'000, {16}},                                  // slow reads: doubles
      {kShare, {8, 16, 16 * 50'000}, {}, 1'000, {8}},                         // quick reads wait on a processor
      {kShare, {8, 4, 4 * 200'000}, {}, 1'000, {8}},                          // too few reads to tell
      {kShare, kEightSlow, {}, 3, {11}},                                      // no thread for nothing
      {kShare, {32, 64, 64 * 200'000}, {16, 32, 32 * 200'000}, 1'000, {48}},  // paid: up to the most
      {kShare, {16, 32, 32 * 200'000}, kEightSlow, 1'000, {32}},              // twice as fast: on
      {kShare, {16, 32, 32 * 400'000}, kEightSlow, 1'000, {8, true}},         // no faster: back, and no more
      {kShare, {48, 96, 96 * 200'000}, kEightSlow, 1'000, {48}},              // at the most
      {{8, 8}, kEightSlow, {}, 1'000, {8}},                                   // under Wine it never grows
  };
  for (const auto& [pool, now, before, untaken, expected] : rows) {
    const PoolStep step = NextPoolStep(pool, now, before, untaken);
    EXPECT_EQ(std::pair(step.threads, step.settled), std::pair(expected.threads, expected.settled))
        << now.threads << " threads, " << now.ns / now.reads << " ns a read: " << step.threads;
  }
}

}  // namespace
}  // namespace kavren
