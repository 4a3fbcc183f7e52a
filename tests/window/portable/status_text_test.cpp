// status_text_test.cpp: what the status bar says of the batch in each state, and the time left.
#include "window/portable/status_text.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

TEST(StatusText, SaysWhereTheBatchStandsInEachStateWithThousandsSeparators) {
  const WorkState paced{.passing = true, .pass_files = 40'000, .done = 39'990, .rows_per_ms = 0.1};
  const WorkState stopped{.pass_files = 6, .pass_ms = 1'500, .pass_stopped = true};
  const std::wstring stop = L"已停止：已分析 3 / 6 个文件，用时 1.5 秒";
  const std::wstring pick = L"点击“分析编码方式”查看每个文件的编码方式";
  constexpr std::wstring_view once = kOnePassEachRun;
  // Each state, and the lines it must show: where the batch stands, what to do next, and why, said where the
  // mouse rests on the state.
  const std::tuple<BatchState, WorkState, std::wstring, std::wstring, std::wstring_view> rows[] = {
      {{.now_ms = 9'000}, paced, L"正在分析：39,990 / 40,000 个文件（99%）", L"已用 9 秒，即将完成。按 Esc 停止", {}},
      {{.files = 6, .analysed = 3, .pass_used = true}, stopped, stop, {}, {}},
      // Files added after a stop are counted, as after a full pass; a clear after a stop is no stop of these.
      {{.files = 8, .analysed = 3, .pass_used = true}, stopped, stop + L"；之后加入的 2 个未分析", {}, once},
      {{.files = 6, .pass_used = true}, stopped, L"共 6 个文件，未分析", std::wstring(once), {}},
      // The files already listed were listed again by the walk, not added.
      {{.files = 1'500, .repeated = 200},
       {.listed = 1'000, .walk_stopped = true},
       L"已停止添加：只加入了已列出的 800 个文件；200 个已在列表中，未重复加入",
       pick,
       {}},
      // A walk under way after a stopped one says so.
      {{}, {.walking = true, .listed = 20, .walk_stopped = true}, L"正在添加文件：已列出 20 个", L"按 Esc 停止", {}},
      {{.files = 3, .analysed = 2, .pass_used = true},
       {.pass_ms = 70},
       L"已分析 2 个文件，用时不到 0.1 秒；之后加入的 1 个未分析",
       {},
       once},
      {{.pass_used = true}, {}, L"没有文件", L"已分析过一次：再加入的文件只会列出；要分析，请重新启动程序", {}},
      {{},
       {.walk_empty = true},
       L"没有加入文件：拖入或打开的项目中没有 .txt 文件",
       L"点击“选择Txt文件”，或把 .txt 文件、文件夹拖到窗口上",
       {}},
      {{.files = 2}, {}, L"共 2 个文件", pick, {}},
  };
  for (const auto& [batch, work, state, next, why] : rows) {
    const StatusLines lines = StatusText(batch, work);
    EXPECT_EQ(std::tuple(lines.state, lines.next, lines.why), std::tuple(state, next, why));
  }
}

// The time left, told once a second as the status bar is: (seconds, rows done) so far, of 3,000 rows, while the
// pass is on 第3章.txt.
TEST(StatusText, GivesATimeLeftOnlyOnceThePaceIsSteadyAndMovesItWithTheProgressNotWithEachBurstOrStall) {
  const std::tuple<const char*, std::vector<std::pair<int, RowIndex>>, std::wstring> paces[] = {
      {"too early", {{1, 250}, {2, 500}}, L"已用 2 秒"},
      {"too few rows", {{3, 100}, {4, 150}}, L"已用 4 秒"},
      {"steady", {{1, 100}, {2, 200}, {3, 300}, {4, 400}}, L"已用 4 秒，约剩 26 秒"},
      // 100 a second, then 1,000 in one second: 16 s left at the old pace, 2 at the burst's; the pace moves a
      // third of the way, to 4 s.
      {"burst", {{1, 100}, {2, 200}, {3, 300}, {4, 400}, {5, 1'400}}, L"已用 5 秒，约剩 4 秒"},
      // 100 a second, then none for a second: the pace falls by a third, not to nothing.
      {"stall", {{3, 300}, {4, 400}, {5, 400}}, L"已用 5 秒，约剩 39 秒"},
      // A file that keeps the pass waiting is named, with how long it has.
      {"waiting", {{1, 100}, {2, 200}, {5, 200}}, L"正在等待：第3章.txt（3 秒）"},
  };
  for (const auto& [name, samples, next] : paces) {
    WorkState work;
    PassStarted(work, 50'000, 3'000);
    for (const auto& [seconds, done] : samples) PassTook(work, 50'000 + seconds * 1000, done - work.done, false, false);
    const std::int64_t now_ms = 50'000 + samples.back().first * 1000;
    EXPECT_EQ(StatusText({.files = 3'000, .current = L"第3章.txt", .now_ms = now_ms}, work).next,
              next + L"。按 Esc 停止")
        << name;
  }
}

// The pass is timed from its own start; an Esc stops the walk it came during, and no later one.
TEST(WorkState, TimesThePassFromItsStartAndAnEscStopsOnlyTheWalkItCameDuring) {
  WorkState work;
  PassStarted(work, 50'000, 3);
  PassTook(work, 51'500, 3, true, false);
  EXPECT_EQ(work.pass_ms, 1'500);
  WalkStarted(work);
  work.walk_stop = true;
  EXPECT_TRUE(WalkTook(work, 4, false, false) && work.walk_stopped);
  WalkStarted(work);
  EXPECT_FALSE(WalkTook(work, 5, false, false)) << "a walk after a stopped one stopped at its first take";
}

// Nothing that changes the lists while work runs on them, and a second pass never.
TEST(WhatCanAct, LetsTheUserChooseAnalyseClearOrDropOnlyWhileNoWorkRuns) {
  const std::tuple<const char*, WorkState, bool, CanAct> rows[] = {
      {"idle", {}, false, {true, true, true, true}},
      {"the run's pass used", {}, true, {true, false, true, true}},
      {"during the pass", {.passing = true}, true, {false, false, false, false}},
      {"during a walk", {.walking = true}, false, {false, false, false, false}},
  };
  for (const auto& [name, work, pass_used, can] : rows) EXPECT_EQ(WhatCanAct(work, pass_used), can) << name;
}

}  // namespace
}  // namespace kavren
