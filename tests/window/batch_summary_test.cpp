// batch_summary_test.cpp: the status bar's counts, the way from a count to the next file with its label, what it
// says of the batch in each state, and how its texts are laid out and cut to fit.
#include "window/batch_summary.h"

#include <gtest/gtest.h>

#include "window/status_bar.h"

namespace kavren {
namespace {

TEST(BatchSummary, CountsEachLabelInTheListsOrderThenEmptyFilesAndFindsTheNextRowWithOneGoingRoundPastTheEnd) {
  RowList labels;
  for (const wchar_t* label : {L"ANSI", L"UTF8", L"无法读取", L"UTF8", L"UUnicodeBigEndian", L"ANSI", L"仅联机"}) {
    labels.AppendRow(label);
  }
  // Row 0 is empty; row 2's note is no empty file.
  const RowNotes notes = {{0, {FailureKind::kEmpty}}, {2, {FailureKind::kNotFound}}};
  const std::vector<LabelCount> expected = {
      {L"UTF8", 2}, {L"UUnicodeBigEndian", 1}, {L"ANSI", 2}, {L"无法读取", 1}, {L"仅联机", 1}, {L"空文件", 1}};
  EXPECT_EQ(CountLabels(labels, notes), expected);

  // From the selected row (or none), the label looked for, the row found.
  const std::tuple<RowIndex, std::wstring_view, RowIndex> steps[] = {
      {kNoRow, L"UTF8", 1}, {1, L"UTF8", 3},         {3, L"UTF8", 1},        {5, L"ANSI", 0},
      {0, L"ANSI", 5},      {2, L"Unicode", kNoRow}, {kNoRow, L"空文件", 0}, {0, L"空文件", 0},
  };
  for (const auto& [after, label, row] : steps) {
    EXPECT_EQ(NextRowWithLabel(labels, notes, after, label), row) << after << " " << std::wstring(label);
  }
  EXPECT_EQ(NextRowWithLabel(RowList(), {}, kNoRow, L"UTF8"), kNoRow);
}

TEST(BatchSummary, SaysWhereTheBatchStandsInEachStateWithThousandsSeparators) {
  const WorkState pass{.passing = true, .pass_files = 1'234'567, .done = 12'345, .done_changed_ms = 900};
  // 10,000 files done in 2 s, the last of them 5.4 s before the second row's time.
  const WorkState late{.passing = true, .pass_files = 40'000, .done = 10'000, .done_changed_ms = 2'000};
  const WorkState paced{
      .passing = true, .pass_files = 40'000, .done = 39'990, .done_changed_ms = 9'000, .rows_per_ms = 0.1};
  const WorkState stopped{.pass_files = 6, .pass_ms = 1'500, .pass_stopped = true};
  const WorkState walk_stopped{.listed = 1'000, .walk_stopped = true};
  // Each state, and the lines it must show: where the batch stands, then what to do next.
  const std::tuple<BatchState, WorkState, std::wstring, std::wstring> states[] = {
      {{.files = 1'234'567, .current = L"a.txt", .now_ms = 900},
       pass,
       L"正在分析：12,345 / 1,234,567 个文件（0%）",
       L"已用 0 秒。按 Esc 停止"},
      {{.files = 40'000, .current = L"第500章.txt", .now_ms = 7'400},
       late,
       L"正在分析：10,000 / 40,000 个文件（25%）",
       L"正在等待：第500章.txt（5 秒）。按 Esc 停止"},
      // No time left until the pace is known, and never "0 秒".
      {{.files = 40'000, .now_ms = 2'000}, late, L"正在分析：10,000 / 40,000 个文件（25%）", L"已用 2 秒。按 Esc 停止"},
      {{.files = 40'000, .now_ms = 9'000},
       paced,
       L"正在分析：39,990 / 40,000 个文件（99%）",
       L"已用 9 秒，即将完成。按 Esc 停止"},
      {{.files = 6, .analysed = 3, .pass_run = true}, stopped, L"已停止：已分析 3 / 6 个文件，用时 1.5 秒", L""},
      // Files added after a stop are counted, as after a full pass; a clear after a stop is no stop of these.
      {{.files = 8, .analysed = 3, .pass_run = true},
       stopped,
       L"已停止：已分析 3 / 6 个文件，用时 1.5 秒；之后加入的 2 个未分析",
       L""},
      {{.files = 6, .pass_run = true},
       stopped,
       L"共 6 个文件，未分析",
       L"每次运行只分析一次：要分析这些文件，请重新启动程序"},
      {{.files = 1'000}, {.walking = true, .listed = 1'000}, L"正在添加文件：已列出 1,000 个", L"按 Esc 停止"},
      {{.files = 1'500},
       walk_stopped,
       L"已停止添加：只加入了已列出的 1,000 个文件",
       L"点击“分析编码方式”查看每个文件的编码方式"},
      // A walk under way after a stopped one says so.
      {{.files = 1'500},
       {.walking = true, .listed = 20, .walk_stopped = true},
       L"正在添加文件：已列出 20 个",
       L"按 Esc 停止"},
      {{.files = 100}, {}, L"共 100 个文件", L"点击“分析编码方式”查看每个文件的编码方式"},
      {{.files = 999'999, .analysed = 999'999, .pass_run = true},
       {.pass_ms = 599'999},
       L"已分析 999,999 个文件，用时 9 分 59 秒",
       L""},
      {{.files = 3, .analysed = 2, .pass_run = true},
       {.pass_ms = 700},
       L"已分析 2 个文件，用时 0.7 秒；之后加入的 1 个未分析",
       L""},
      {{.files = 4, .analysed = 4, .pass_run = true, .copied = L"已复制 4 行结果"},
       {.pass_ms = 40},
       L"已复制 4 行结果",
       L""},
      {{.pass_run = true}, {}, L"没有文件", L"已分析过一次：再加入的文件只会列出；要分析，请重新启动程序"},
      {{},
       {.walk_empty = true},
       L"没有加入文件：拖入或打开的项目中没有 .txt 文件",
       L"点击“选择Txt文件”，或把 .txt 文件、文件夹拖到窗口上"},
      // A drop that adds nothing, then files chosen.
      {{.files = 2}, {}, L"共 2 个文件", L"点击“分析编码方式”查看每个文件的编码方式"},
  };
  for (const auto& [batch, work, state, next] : states) {
    EXPECT_EQ(StatusText(batch, work).state, state);
    EXPECT_EQ(StatusText(batch, work).next, next) << state;
  }
  EXPECT_EQ(StatusText({.files = 6, .analysed = 3, .pass_run = true}, stopped).brief, L"已停止：3 / 6");
  EXPECT_EQ(StatusText({.files = 3, .analysed = 2, .pass_run = true}, {.pass_ms = 700}).why,
            L"每次运行只分析一次：要分析之后加入的文件，请重新启动程序");
  // A Latin label keeps a space on each side, a Chinese one its quotes.
  EXPECT_EQ(CountTip({L"ANSI", 480}) + NextLabelMenuText(L"无法读取"),
            L"共 480 个 ANSI 文件。点击选中下一个。下一个“无法读取”文件");
  EXPECT_EQ(CountTip({L"空文件", 36}) + NextLabelMenuText(L"空文件") + CopyPathsMenuText(L"空文件"),
            L"共 36 个空文件（0 字节）。点击选中下一个。下一个空文件复制所有空文件的路径");

  // While long work runs, nothing that would change the lists under it; a second pass never.
  const std::tuple<WorkState, bool, bool, bool, bool> acting[] = {
      // work, pass used: can choose, analyse, clear (and take a drop)
      {{}, false, true, true, true},
      {{}, true, true, false, true},
      {{.passing = true}, true, false, false, false},
      {{.walking = true}, false, false, false, false},
  };
  for (const auto& [work, used, choose, analyse, clear] : acting) {
    const CanAct can = WhatCanAct(work, used);
    EXPECT_EQ(std::tuple(can.choose, can.analyse, can.clear, can.drop), std::tuple(choose, analyse, clear, choose));
  }
}

// The time left, told once a second as the status bar is: (seconds, rows done) so far, of 3,000 rows.
TEST(BatchSummary, GivesATimeLeftOnlyOnceThePaceIsSteadyAndMovesItWithTheProgressNotWithEachBurstOrStall) {
  const std::tuple<const char*, std::vector<std::pair<int, RowIndex>>, std::wstring> paces[] = {
      {"too early", {{1, 100}, {2, 150}}, L"已用 2 秒。按 Esc 停止"},
      {"too few", {{1, 20}, {2, 40}, {3, 60}, {4, 80}}, L"已用 4 秒。按 Esc 停止"},
      {"steady", {{1, 100}, {2, 200}, {3, 300}, {4, 400}}, L"已用 4 秒，约剩 26 秒。按 Esc 停止"},
      // 100 a second, then 1,000 in one second: 26 s left at the old pace, 2 at the new; a third of the way.
      // 100 a second, then 1,000 in one second: 16 s left at the old pace, 2 at the burst's; the pace moves a
      // third of the way, to 4 s.
      {"burst", {{1, 100}, {2, 200}, {3, 300}, {4, 400}, {5, 1'400}}, L"已用 5 秒，约剩 4 秒。按 Esc 停止"},
      // 100 a second, then none for two seconds: the pace falls by a third a second, not to nothing.
      {"stall", {{3, 300}, {4, 400}, {5, 400}, {6, 400}}, L"已用 6 秒，约剩 58 秒。按 Esc 停止"},
  };
  for (const auto& [name, samples, next] : paces) {
    WorkState work{.passing = true, .pass_files = 3'000};
    for (const auto& [seconds, done] : samples) {
      work.done = done;
      work.done_changed_ms = seconds * 1000;
      Pace(work, seconds * 1000);
    }
    EXPECT_EQ(StatusText({.files = 3'000, .now_ms = work.done_changed_ms}, work).next, next) << name;
  }
}

// Each character 10 wide, a part's edges 4 more.
int Width(std::wstring_view text) { return static_cast<int>(text.size()) * 10 + 4; }

TEST(StatusLayout, PutsCountsAboveAndTheStateBelowAndCutsWhatDoesNotFitKeepingTheNamesExtensionAndTheEscHint) {
  const StatusLines waiting{L"正在分析：3 / 9 个文件（33%）",
                            L"正在分析：3 / 9 个文件（33%）",
                            L"正在等待：第8章 很长的标题很长的标题.txt（5 秒）。按 Esc 停止",
                            L"",
                            5,
                            18};
  const StatusLines summary{L"已分析 9 个文件，用时 1.2 秒；之后加入的 1 个未分析", L"1 个未分析", L"", L"为什么"};
  const std::vector<LabelCount> counts = {{L"UTF8", 5}, {L"ANSI", 3}, {L"空文件", 1}};
  const std::wstring full = summary.state + L"\n为什么";
  const std::wstring utf8_tip = L"共 5 个 UTF8 文件。点击选中下一个。";
  // Lines, counts, the bar's width: the texts of row 0, then of row 1, and the tip of the first part of each.
  const std::tuple<StatusLines, std::vector<LabelCount>, int, std::vector<std::wstring>, std::vector<std::wstring>,
                   std::wstring, std::wstring>
      layouts[] = {
          {waiting, {}, 1000, {waiting.state}, {waiting.next}, L"", L""},
          // The name cut in its middle, its start and extension and the rest of the line kept.
          {waiting, {}, 300, {waiting.state}, {L"正在等待：第8章 很….txt（5 秒）。按 Esc 停止"}, L"", waiting.next},
          {waiting, {}, 260, {waiting.state}, {L"正在等待：第….txt（5 秒）。按 Esc 停止"}, L"", waiting.next},
          // Counts that do not fit above go down beside the state, which then says it in brief.
          {summary, counts, 150, {L"1 个未分析", L"空文件：1"}, {L"UTF8：5", L"ANSI：3"}, full, utf8_tip},
          {summary, counts, 1000, {summary.state}, {L"UTF8：5", L"ANSI：3", L"空文件：1"}, L"为什么", utf8_tip},
          // A brief state too wide as well is cut at its end.
          {summary, {}, 60, {L"1 个未…"}, {L""}, full, L""},
      };
  for (const auto& [lines, shown_counts, width, row0, row1, tip0, tip1] : layouts) {
    const auto rows = LayOutStatus(lines, shown_counts, width, Width);
    std::array<std::vector<std::wstring>, 2> texts;
    for (int r = 0; r < 2; ++r) {
      int used = 0;
      for (const StatusPart& part : rows[r]) {
        texts[r].push_back(part.text);
        EXPECT_LE(Width(part.text), part.width) << "clipped: " << part.text;
        used += part.width;
      }
      EXPECT_LE(used, width) << "row " << r << " wider than the bar";
    }
    EXPECT_EQ(texts[0], row0) << width;
    EXPECT_EQ(texts[1], row1) << width;
    EXPECT_EQ(rows[0][0].tip, tip0) << width;
    EXPECT_EQ(rows[1][0].tip, tip1) << width;
  }
}

}  // namespace
}  // namespace kavren
