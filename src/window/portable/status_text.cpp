// status_text.cpp: the status bar's texts, apart from the window that shows them.
#include "window/portable/status_text.h"

#include <algorithm>
#include <cmath>

#include "window/portable/label_counts.h"

namespace kavren {
namespace {

// "1.2 秒" under ten seconds (unless `whole`), "25 秒" under a minute, then "3 分 5 秒".
std::wstring Duration(std::int64_t ms, bool whole = false) {
  if (ms < 10'000 && !whole) {
    return std::to_wstring(ms / 1000) + L"." + std::to_wstring(ms % 1000 / 100) + L" 秒";
  }
  const std::int64_t seconds = ms / 1000;
  if (seconds < 60) return std::to_wstring(seconds) + L" 秒";
  return std::to_wstring(seconds / 60) + L" 分 " + std::to_wstring(seconds % 60) + L" 秒";
}

// "用时 1.2 秒"; under 0.1 s "用时不到 0.1 秒", since "0.0 秒" reads as if nothing was done.
std::wstring Took(std::int64_t ms) { return ms < 100 ? L"用时不到 0.1 秒" : L"用时 " + Duration(ms); }

// What the status bar says while long work runs, under every line of it.
constexpr wchar_t kHowToStop[] = L"按 Esc 停止";

// How far the pass has got, how long it has taken, and what it waits for or how long it has left.
StatusLines StatusDuringPass(const BatchState& batch, const WorkState& work) {
  const std::int64_t percent = work.pass_files > 0 ? work.done * 100 / work.pass_files : 100;
  const std::int64_t elapsed_ms = batch.now_ms - work.pass_start_ms;
  const std::int64_t waited_ms = batch.now_ms - work.done_changed_ms;
  // In whole seconds, so that the line changes once a second rather than at every update; and the rest only
  // once there is something to go by: the first second says little of it.
  std::wstring next = L"已用 " + Duration(elapsed_ms, true);
  std::size_t name_at = 0;
  std::size_t name_size = 0;
  if (waited_ms >= kNamedWaitMs && !batch.current.empty()) {
    next = L"正在等待：";
    name_at = next.size();
    name_size = batch.current.size();
    next += std::wstring(batch.current) + L"（" + Duration(waited_ms, true) + L"）";
  } else if (work.rows_per_ms > 0) {
    // Rounded, not cut: the 32-bit program's x87 arithmetic makes 26 s into 25.999.
    const std::int64_t left_ms = std::llround(static_cast<double>(work.pass_files - work.done) / work.rows_per_ms);
    next += left_ms < 1000 ? L"，即将完成" : L"，约剩 " + Duration(left_ms, true);
  }
  std::wstring state = L"正在分析：" + WithThousands(work.done) + L" / " + WithThousands(work.pass_files) +
                       L" 个文件（" + std::to_wstring(percent) + L"%）";
  return {
      .state = state, .brief = state, .next = next + L"。" + kHowToStop, .name_at = name_at, .name_size = name_size};
}

// The lines before any stop is taken into account.
StatusLines StatusBeforeStops(const BatchState& batch, const WorkState& work) {
  if (work.walking) {
    std::wstring state = L"正在添加文件：已列出 " + WithThousands(work.listed) + L" 个";
    if (batch.repeated > 0) state += L"，其中 " + WithThousands(batch.repeated) + L" 个已在列表中";
    return {.state = state, .brief = state, .next = kHowToStop};
  }
  if (work.passing) return StatusDuringPass(batch, work);
  if (batch.files == 0) {
    // Once the run's pass is used, choosing files leads nowhere: they would be listed, never analysed.
    return {.state = L"没有文件",
            .brief = L"没有文件",
            .next = batch.pass_used ? L"已分析过一次：再加入的文件只会列出；要分析，请重新启动程序"
                                    : L"点击“选择Txt文件”，或把 .txt 文件、文件夹拖到窗口上"};
  }
  const std::wstring files = L"共 " + WithThousands(batch.files) + L" 个文件";
  if (!batch.pass_used) return {.state = files, .brief = files, .next = L"点击“分析编码方式”查看每个文件的编码方式"};
  const RowIndex late = batch.files - std::max(batch.analysed, work.pass_files);
  const std::wstring later = late > 0 ? L"；之后加入的 " + WithThousands(late) + L" 个未分析" : L"";
  const std::wstring why = late > 0 ? std::wstring(kOnePassEachRun) : L"";
  if (work.pass_starved) {
    // Out of threads, the system is short of memory or handles; a new start of the program has its own.
    return {
        .state = L"已停止：系统资源不足，无法读取文件；已分析 " + WithThousands(batch.analysed) + L" 个文件" + later,
        .brief = L"已停止：系统资源不足",
        .next = std::wstring(kOnePassEachRun)};
  }
  if (work.pass_stopped && batch.analysed > 0) {
    const std::wstring done = WithThousands(batch.analysed) + L" / " + WithThousands(work.pass_files);
    // The brief must still own up to the files the pass never saw: in a full
    // pass they are all the brief says.
    return {.state = L"已停止：已分析 " + done + L" 个文件，" + Took(work.pass_ms) + later,
            .brief = L"已停止：" + done + later,
            .next = L"",
            .why = why};
  }
  if (batch.analysed == 0) {
    // The pass ran over other files, or none, and the list was cleared since.
    return {.state = files + L"，未分析", .brief = files, .next = std::wstring(kOnePassEachRun)};
  }
  const std::wstring summary = L"已分析 " + WithThousands(batch.analysed) + L" 个文件，" + Took(work.pass_ms);
  if (late > 0) return {.state = summary + later, .brief = WithThousands(late) + L" 个未分析", .next = L"", .why = why};
  return {.state = summary, .brief = Took(work.pass_ms), .next = L""};
}

}  // namespace

StatusLines StatusText(const BatchState& batch, const WorkState& work) {
  StatusLines lines = StatusBeforeStops(batch, work);
  if (work.walking || work.passing) return lines;
  if (work.walk_empty) {
    lines.state = L"没有加入文件：拖入或打开的项目中没有 .txt 文件";
    lines.brief = L"没有加入文件";
  }
  if (work.walk_stopped) {
    lines.state = L"已停止添加：只加入了已列出的 " + WithThousands(work.listed - batch.repeated) + L" 个文件";
    lines.brief = L"已停止添加";
  }
  if (batch.repeated > 0) {
    // Otherwise a drop that added nothing looks as if it had not arrived.
    lines.state += L"；" + WithThousands(batch.repeated) + L" 个已在列表中，未重复加入";
  }
  if (!batch.copied.empty()) {
    // Said until the next change; the state is said where the mouse rests.
    lines.why = lines.why.empty() ? lines.state : lines.state + L"\n" + lines.why;
    lines.state = lines.brief = batch.copied;
  }
  return lines;
}

}  // namespace kavren
