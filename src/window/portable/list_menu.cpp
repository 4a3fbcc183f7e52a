// list_menu.cpp: the lists' context-menu items, apart from the menu that shows them.
#include "window/portable/list_menu.h"

#include <algorithm>

#include "analysis/device_names.h"

namespace kavren {
namespace {

// During the pass a label's files are those read so far: the item says how many it acts on.
std::wstring SoFar(const ListMenuLists& lists, std::wstring_view label) {
  if (!lists.passing) return {};
  const auto found = std::find_if(lists.counts.begin(), lists.counts.end(),
                                  [label](const LabelCount& count) { return count.label == label; });
  return L"（已分析的 " + WithThousands(found == lists.counts.end() ? 0 : found->count) + L" 个）";
}

}  // namespace

std::wstring WhyShellCannotOpen(std::wstring_view path, bool answered) {
  // The shell and the programs it starts take paths of MAX_PATH (260)
  // characters, the last a NUL; a longer one fails, and says nothing.
  if (path.size() >= 260) return L"路径超过 259 个字符，Windows 的记事本和资源管理器无法打开";
  // Opened, a device may never answer, and a pipe's server sees who connects.
  if (NamesDevice(path)) return L"这是设备或管道的名称，不是文件";
  if (!answered) return L"文件所在的存储设备没有响应";
  return {};
}

std::vector<ListMenuEntry> ListMenuEntries(const ListMenuRow& row, const ListMenuLists& lists) {
  std::vector<ListMenuEntry> entries;
  auto add = [&entries](ListMenuItem item, std::wstring text, bool enabled) {
    entries.push_back({item, std::move(text), enabled});
  };
  const bool shell_can = row.exists && row.shell_cannot.empty();
  add(ListMenuItem::kOpen, L"打开(&O)", shell_can && row.readable);
  add(ListMenuItem::kOpenFolder, L"打开文件所在的位置(&I)", shell_can);
  // A menu item has no tip: the reason stands greyed under the items it greys.
  if (!row.shell_cannot.empty()) add(ListMenuItem::kNone, L"（" + row.shell_cannot + L"）", false);
  add(ListMenuItem::kCopyPath, L"复制完整路径(&P)", row.chosen);
  if (!row.label.empty()) {
    add(ListMenuItem::kCopyLabelPaths, CopyPathsMenuText(row.label) + SoFar(lists, row.label), true);
  }
  if (row.empty) add(ListMenuItem::kCopyEmptyPaths, CopyPathsMenuText(kEmptyFiles) + SoFar(lists, kEmptyFiles), true);
  if (!row.content.empty() && row.content != kNotUtf8Group.name) {
    add(ListMenuItem::kCopyContentPaths, CopyPathsMenuText(row.content) + SoFar(lists, row.content), true);
  }
  // What a user hands to a converter, one step from any row.
  const std::wstring_view convert = kNotUtf8Group.name;
  if (std::any_of(lists.counts.begin(), lists.counts.end(),
                  [convert](const LabelCount& c) { return c.label == convert; })) {
    add(ListMenuItem::kCopyNotUtf8Paths, CopyPathsMenuText(convert) + SoFar(lists, convert), true);
  }
  add(ListMenuItem::kNone, L"", false);
  std::wstring so_far;
  if (lists.passing) {
    so_far = L"（已分析 " + WithThousands(lists.analysed) + L" / " + WithThousands(lists.files) + L" 个）";
  } else if (lists.walking) {
    so_far = L"（已列出的 " + WithThousands(lists.files) + L" 个）";
  }
  add(ListMenuItem::kCopyResults, L"复制全部结果(&C)" + so_far + L"\tCtrl+C", lists.has_rows);
  // The keyboard's way from a count in the status bar to its files.
  if (!lists.counts.empty()) add(ListMenuItem::kNone, L"", false);
  for (std::size_t i = 0; i < lists.counts.size(); ++i) {
    const std::wstring_view label = lists.counts[i].label;
    entries.push_back({ListMenuItem::kNextLabel, NextLabelMenuText(label) + SoFar(lists, label), true, i});
  }
  return entries;
}

}  // namespace kavren
