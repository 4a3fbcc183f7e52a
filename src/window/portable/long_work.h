// long_work.h: where the long work (the pass, the walk of a drop) stands, and what the user may start meanwhile.
#pragma once

#include <cstdint>

#include "common/row_list.h"

namespace kavren {

// Where the long work stands, or last stood. Its one owner keeps it as
// the work goes; the status bar reads it as it is. Times are milliseconds
// of one steady clock.
struct WorkState {
  bool passing = false;              // the pass is under way
  std::int64_t pass_start_ms = 0;    // when it started
  RowIndex pass_files = 0;           // the rows it was run on
  RowIndex done = 0;                 // the rows it has labelled
  std::int64_t done_changed_ms = 0;  // when that count last changed
  std::int64_t pass_ms = 0;          // how long the run's pass took
  bool pass_stopped = false;         // it was stopped before its last file
  bool pass_starved = false;         // by the system, which had no thread to read with
  bool walking = false;              // dropped folders are being walked
  bool walk_stop = false;            // Esc came during the walk: it ends at the next take
  RowIndex listed = 0;               // the files the last walk listed
  bool walk_stopped = false;         // it was stopped: not every file of that drop is listed
  bool walk_empty = false;           // it found nothing to add
  // How fast the pass goes, smoothed, for the time left; 0 until steady.
  std::int64_t paced_ms = 0;  // when last told
  RowIndex paced_done = 0;    // and how many rows were done then
  double rows_per_ms = 0;
};

// What the work's owner tells `work` as the work goes, at `now_ms`. The
// pass over `files` rows starts; it has labelled `labelled` more rows, and
// is `over` (`starved`, if for want of a thread to read with). The pace,
// for the time left, is none until the pass has run a few seconds over a
// few hundred files, then the rate of the last seconds, smoothed, so that
// the time left moves with the progress and not with every burst or pause
// of the storage.
void PassStarted(WorkState& work, std::int64_t now_ms, RowIndex files) noexcept;
void PassTook(WorkState& work, std::int64_t now_ms, RowIndex labelled, bool over, bool starved) noexcept;
// A walk starts; it has found `found` more files, and is `over` (`starved`,
// if for want of a thread or memory). True when the walk ends there: it is
// over, or Esc came during it.
void WalkStarted(WorkState& work) noexcept;
[[nodiscard]] bool WalkTook(WorkState& work, RowIndex found, bool over, bool starved) noexcept;

// A file the pass has waited on this long is named in the status bar: the
// storage is slow, not the program.
inline constexpr std::int64_t kNamedWaitMs = 2000;

// What the window lets the user start: nothing that changes the lists
// while long work runs on them, and a second pass never.
struct CanAct {
  bool choose = true;   // 选择Txt文件
  bool analyse = true;  // 分析编码方式
  bool clear = true;    // 清 空 数 据
  bool drop = true;     // files dropped from Explorer
  bool operator==(const CanAct&) const = default;
};
[[nodiscard]] CanAct WhatCanAct(const WorkState& work, bool pass_used) noexcept;

}  // namespace kavren
