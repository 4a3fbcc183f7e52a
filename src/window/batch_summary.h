// batch_summary.h: what the status bar says of the batch -- the counts of each label, the way from a count to
// its files, and the texts of each state.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// The labels in the order the status bar counts them: the marks, then no mark, unreadable and online only.
inline constexpr std::array<EncodingCode, 6> kCountedCodes = {
    EncodingCode::Utf8,   EncodingCode::Utf16LittleEndian, EncodingCode::Utf16BigEndian,
    EncodingCode::NoMark, EncodingCode::Unreadable,        EncodingCode::OnlineOnly};

struct LabelCount {
  std::wstring_view label;  // as LabelForCode writes it
  RowIndex count;
};

// How many rows of the label list carry each label, in the order of
// kCountedCodes, leaving out the labels no row carries.
[[nodiscard]] std::vector<LabelCount> CountLabels(const RowList& labels);

// The first row after `after` that carries `label`, going on from the top
// past the last row (so a row that is the only one finds itself); kNoRow
// when no row does. `after` may be kNoRow: the search starts at the top.
[[nodiscard]] RowIndex NextRowWithLabel(const RowList& labels, RowIndex after, std::wstring_view label);

// A count, 1234567, as "1,234,567", as Explorer counts items.
[[nodiscard]] std::wstring WithThousands(std::int64_t number);

// Where the batch stands, as the status bar shows it.
struct BatchState {
  RowIndex files = 0;           // rows of the file list
  RowIndex analysed = 0;        // labels written by the pass (rows of the label list with a label)
  bool pass_run = false;        // this run's one pass is over
  std::int64_t pass_ms = 0;     // how long it took
  RowIndex done = 0;            // during the pass: files labelled so far
  std::int64_t elapsed_ms = 0;  // during the pass: time so far
  bool running = false;
  std::wstring waiting_for{};  // during the pass: the file it has waited on for a while, by name
  std::int64_t waited_ms = 0;  // and for how long
  RowIndex pass_files = 0;     // the rows the pass was run on
  bool stopped = false;        // the pass was stopped before its last file
  bool walking = false;        // dropped folders are being walked
  RowIndex listed = 0;         // during the walk: the files listed so far
  bool walk_stopped = false;   // the last walk was stopped: not every file of that drop is listed
  bool walk_empty = false;     // the last walk found no file at all
  RowIndex empty = 0;          // files of the pass that have no bytes
};

// The status bar's two lines: where the batch stands (in full, and in brief
// for when it does not fit beside the counts), and either what to do next
// or, after a pass, nothing: the counts stand there. `why`, if any, is said
// where the mouse rests on the state.
struct StatusLines {
  std::wstring state;
  std::wstring brief;
  std::wstring next;
  std::wstring why{};
};
[[nodiscard]] StatusLines StatusText(const BatchState& batch);

// The text of a label's part of the status bar: the label, then its count.
[[nodiscard]] std::wstring CountText(const LabelCount& count);
// What a click on that part does.
[[nodiscard]] std::wstring CountTip(const LabelCount& count);
// The lists' context-menu item that does the same.
[[nodiscard]] std::wstring NextLabelMenuText(std::wstring_view label);

}  // namespace kavren
