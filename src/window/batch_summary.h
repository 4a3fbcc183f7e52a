// batch_summary.h: what the status bar says of the batch -- the counts of each label, the way from a count to
// its files, and the texts of each state.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/label_texts.h"
#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// The labels in the order the status bar counts them: the marks, then no mark, unreadable and online only.
inline constexpr std::array<EncodingCode, 6> kCountedCodes = {
    EncodingCode::Utf8,   EncodingCode::Utf16LittleEndian, EncodingCode::Utf16BigEndian,
    EncodingCode::NoMark, EncodingCode::Unreadable,        EncodingCode::OnlineOnly};

// Empty files keep their label, ANSI, but are what a user most wants to
// find (failed downloads): they get a count of their own after the labels'.
inline constexpr std::wstring_view kEmptyFiles = L"空文件";

struct LabelCount {
  std::wstring_view label;  // as LabelForCode writes it, or kEmptyFiles
  RowIndex count;
  bool operator==(const LabelCount&) const = default;
};

// How many rows of the label list carry each label, in the order of
// kCountedCodes, leaving out the labels no row carries; then how many of
// the files are empty, if any are.
[[nodiscard]] std::vector<LabelCount> CountLabels(const RowList& labels, const RowNotes& notes);

// Whether row `row` is counted under `label`.
[[nodiscard]] bool RowCounted(const RowList& labels, const RowNotes& notes, RowIndex row, std::wstring_view label);

// The first row after `after` counted under `label`, going on from the top
// past the last row (so a row that is the only one finds itself); kNoRow
// when no row is. `after` may be kNoRow: the search starts at the top.
[[nodiscard]] RowIndex NextRowWithLabel(const RowList& labels, const RowNotes& notes, RowIndex after,
                                        std::wstring_view label);

// A count, 1234567, as "1,234,567", as Explorer counts items.
[[nodiscard]] std::wstring WithThousands(std::int64_t number);

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
  bool walking = false;              // dropped folders are being walked
  RowIndex listed = 0;               // the files the last walk listed
  bool walk_stopped = false;         // it was stopped: not every file of that drop is listed
  bool walk_empty = false;           // it found nothing to add
  // How fast the pass goes, smoothed, for the time left; 0 until steady.
  std::int64_t paced_ms = 0;  // when last told
  RowIndex paced_done = 0;    // and how many rows were done then
  double rows_per_ms = 0;
};

// Tells the pace of `work` how far the pass has got at `now_ms`: no pace
// until the pass has run a few seconds over a few hundred files, then the
// rate of the last seconds, smoothed, so that the time left moves with the
// progress and not with every burst or pause of the storage.
void Pace(WorkState& work, std::int64_t now_ms) noexcept;

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
};
[[nodiscard]] CanAct WhatCanAct(const WorkState& work, bool pass_used) noexcept;

// Where the batch stands in the lists, as the status bar shows it.
struct BatchState {
  RowIndex files = 0;           // rows of the file list
  RowIndex analysed = 0;        // labels written by the pass (rows of the label list with a label)
  bool pass_run = false;        // this run's one pass is used
  std::wstring_view current{};  // during the pass, the name of the file it is on
  std::wstring_view copied{};   // what the last copy put on the clipboard, until the next change
  std::int64_t now_ms = 0;
};

// The status bar's two lines: where the batch stands (in full, and in brief
// for when it does not fit beside the counts), and either what to do next
// or, after a pass, nothing: the counts stand there. `why`, if any, is said
// where the mouse rests on the state. `next` may name a file, at
// `name_at` for `name_size` characters: what is cut first where the line
// does not fit.
struct StatusLines {
  std::wstring state;
  std::wstring brief;
  std::wstring next;
  std::wstring why{};
  std::size_t name_at = 0;
  std::size_t name_size = 0;
  bool operator==(const StatusLines&) const = default;
};
[[nodiscard]] StatusLines StatusText(const BatchState& batch, const WorkState& work);

// The text of a label's part of the status bar: the label, then its count.
[[nodiscard]] std::wstring CountText(const LabelCount& count);
// What a click on that part does.
[[nodiscard]] std::wstring CountTip(const LabelCount& count);
// The lists' context-menu item that does the same.
[[nodiscard]] std::wstring NextLabelMenuText(std::wstring_view label);
// The lists' context-menu item that copies the paths of every file counted under `label`.
[[nodiscard]] std::wstring CopyPathsMenuText(std::wstring_view label);

}  // namespace kavren
