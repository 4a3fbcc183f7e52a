// status_text_test.cpp: what the status bar says of the batch in each state, and the time left.
#include "window/status_text.h"
#include "window/long_work.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

TEST(StatusText, SaysWhereTheBatchStandsInEachStateWithThousandsSeparators) {
  // 10,000 files done in 2 s, the last of them 5.4 s before the second row's time.
  const WorkState late{.passing = true, .pass_files = 40'000, .done = 10'000, .done_changed_ms = 2'000};
  const WorkState paced{.passing = true, .pass_files = 40'000, .done = 39'990, .rows_per_ms = 0.1};
  const WorkState stopped{.pass_files = 6, .pass_ms = 1'500, .pass_stopped = true};
  const std::wstring stop = L"已停止：已分析 3 / 6 个文件，用时 1.5 秒";
  const std::wstring pick = L"点击“分析编码方式”查看每个文件的编码方式";
  const std::wstring esc = L"。按 Esc 停止";
  // Each state, and the lines it must show: where the batch stands, then what to do next.
  const std::tuple<BatchState, WorkState, std::wstring, std::wstring> states[] = {
      {{.current = L"第500章.txt", .now_ms = 7'400},
       late,
       L"正在分析：10,000 / 40,000 个文件（25%）",
       L"正在等待：第500章.txt（5 秒）" + esc},
      {{.now_ms = 9'000}, paced, L"正在分析：39,990 / 40,000 个文件（99%）", L"已用 9 秒，即将完成" + esc},
      {{.files = 6, .analysed = 3, .pass_run = true}, stopped, stop, L""},
      // Files added after a stop are counted, as after a full pass; a clear after a stop is no stop of these.
      {{.files = 8, .analysed = 3, .pass_run = true}, stopped, stop + L"；之后加入的 2 个未分析", L""},
      {{.files = 6, .pass_run = true},
       stopped,
       L"共 6 个文件，未分析",
       L"每次运行只分析一次：要分析未分析的文件，请重新启动程序"},
      {{.files = 1'500}, {.listed = 1'000, .walk_stopped = true}, L"已停止添加：只加入了已列出的 1,000 个文件", pick},
      // A walk under way after a stopped one says so.
      {{}, {.walking = true, .listed = 20, .walk_stopped = true}, L"正在添加文件：已列出 20 个", L"按 Esc 停止"},
      {{.files = 3, .analysed = 2, .pass_run = true},
       {.pass_ms = 70},
       L"已分析 2 个文件，用时不到 0.1 秒；之后加入的 1 个未分析",
       L""},
      {{.pass_run = true}, {}, L"没有文件", L"已分析过一次：再加入的文件只会列出；要分析，请重新启动程序"},
      {{},
       {.walk_empty = true},
       L"没有加入文件：拖入或打开的项目中没有 .txt 文件",
       L"点击“选择Txt文件”，或把 .txt 文件、文件夹拖到窗口上"},
      {{.files = 2}, {}, L"共 2 个文件", pick},
  };
  for (const auto& [batch, work, state, next] : states) {
    EXPECT_EQ(StatusText(batch, work).state, state);
    EXPECT_EQ(StatusText(batch, work).next, next) << state;
  }
}

// The time left, told once a second as the status bar is: (seconds, rows done) so far, of 3,000 rows.
TEST(StatusText, GivesATimeLeftOnlyOnceThePaceIsSteadyAndMovesItWithTheProgressNotWithEachBurstOrStall) {
  const std::tuple<const char*, std::vector<std::pair<int, RowIndex>>, std::wstring> paces[] = {
      {"too early", {{1, 100}, {2, 150}}, L"已用 2 秒。按 Esc 停止"},
      {"steady", {{1, 100}, {2, 200}, {3, 300}, {4, 400}}, L"已用 4 秒，约剩 26 秒。按 Esc 停止"},
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

}  // namespace
}  // namespace kavren
