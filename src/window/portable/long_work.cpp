// long_work.cpp: where the long work stands as it goes, its pace, and what may be started while it runs.
#include "window/portable/long_work.h"

#include <algorithm>

namespace kavren {
namespace {

// Steady: a few seconds and a few hundred files. Before that the rate says
// more about the first folder's listing than about the pass.
constexpr std::int64_t kSteadyMs = 3000;
constexpr RowIndex kSteadyRows = 200;
// How long the rate takes to follow a change: a burst or a pause of a
// second moves the time left by a third of what it would say on its own.
constexpr double kPaceMs = 3000;

void Pace(WorkState& work, std::int64_t now_ms) noexcept {
  const std::int64_t elapsed = now_ms - work.pass_start_ms;
  if (elapsed < kSteadyMs || work.done < kSteadyRows) return;
  if (work.rows_per_ms <= 0) {
    work.rows_per_ms = static_cast<double>(work.done) / static_cast<double>(elapsed);
  } else if (now_ms > work.paced_ms) {
    const auto span = static_cast<double>(now_ms - work.paced_ms);
    const double recent = static_cast<double>(work.done - work.paced_done) / span;
    const double weight = std::min(1.0, span / kPaceMs);
    work.rows_per_ms += weight * (recent - work.rows_per_ms);
  }
  work.paced_ms = now_ms;
  work.paced_done = work.done;
}

}  // namespace

void PassStarted(WorkState& work, std::int64_t now_ms, RowIndex files) noexcept {
  work.passing = true;
  work.pass_start_ms = work.done_changed_ms = now_ms;
  work.pass_files = files;
  work.done = 0;
  work.walk_stopped = work.walk_empty = false;
}

void PassTook(WorkState& work, std::int64_t now_ms, RowIndex labelled, bool over, bool starved) noexcept {
  if (labelled > 0) {
    work.done += labelled;
    work.done_changed_ms = now_ms;
  }
  if (!over) {
    Pace(work, now_ms);
    return;
  }
  work.passing = false;
  work.pass_ms = now_ms - work.pass_start_ms;
  work.pass_stopped = work.done < work.pass_files;
  work.pass_starved = starved;
}

void WalkStarted(WorkState& work) noexcept {
  work.walking = true;
  work.listed = 0;
  work.walk_stopped = work.walk_empty = work.walk_stop = false;
}

bool WalkTook(WorkState& work, RowIndex found, bool over, bool starved) noexcept {
  work.listed += found;
  if (!over && !work.walk_stop) return false;
  work.walking = false;
  // A walk the system had no thread or memory for did not list every file either.
  work.walk_stopped = !over || starved;
  work.walk_empty = !work.walk_stopped && work.listed == 0;
  return true;
}

CanAct WhatCanAct(const WorkState& work, bool pass_used) noexcept {
  const bool idle = !work.passing && !work.walking;
  return {idle, idle && !pass_used, idle, idle};
}

}  // namespace kavren
