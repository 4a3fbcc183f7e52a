// list_menu_win32.cpp: the lists' context menu, built and tracked.
#include "window/list_menu_win32.h"

#include "common/handles_win32.h"

namespace kavren::win32 {
namespace {

// TrackPopupMenuEx returns the item chosen rather than posting a
// WM_COMMAND. After these, one per label counted.
enum MenuId : UINT {
  kOpenId = 1,
  kOpenFolderId,
  kCopyPathId,
  kCopyLabelPathsId,
  kCopyResultsId,
  kCopyEmptyPathsId,
  kShellCannotId,
  kFirstNextLabelId,
};

}  // namespace

ListMenuChoice TrackListMenu(HWND owner, POINT at, const ListMenuRow& row, bool has_rows,
                             const std::vector<LabelCount>& counts) {
  const unique_menu menu(::CreatePopupMenu());
  auto add = [&menu](UINT id, const wchar_t* text, bool enabled) {
    ::AppendMenuW(menu.get(), MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text);
  };
  const bool shell_can = row.exists && row.shell_cannot.empty();
  add(kOpenId, L"打开(&O)", shell_can && row.readable);
  add(kOpenFolderId, L"打开文件所在的位置(&I)", shell_can);
  // A menu item has no tip: the reason stands greyed under the items it greys.
  if (!row.shell_cannot.empty()) add(kShellCannotId, (L"（" + row.shell_cannot + L"）").c_str(), false);
  add(kCopyPathId, L"复制完整路径(&P)", row.chosen);
  if (!row.label.empty()) add(kCopyLabelPathsId, CopyPathsMenuText(row.label).c_str(), true);
  if (row.empty) add(kCopyEmptyPathsId, CopyPathsMenuText(kEmptyFiles).c_str(), true);
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  add(kCopyResultsId, L"复制全部结果(&C)\tCtrl+C", has_rows);
  // The keyboard's way from a count in the status bar to its files.
  if (!counts.empty()) ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  for (std::size_t i = 0; i < counts.size(); ++i) {
    add(kFirstNextLabelId + static_cast<UINT>(i), NextLabelMenuText(counts[i].label).c_str(), true);
  }
  const auto id =
      static_cast<UINT>(::TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr));
  if (id >= kFirstNextLabelId && id - kFirstNextLabelId < counts.size()) {
    return {ListMenuItem::kNextLabel, id - kFirstNextLabelId};
  }
  constexpr ListMenuItem kItems[] = {
      ListMenuItem::kNone,           ListMenuItem::kOpen,        ListMenuItem::kOpenFolder,    ListMenuItem::kCopyPath,
      ListMenuItem::kCopyLabelPaths, ListMenuItem::kCopyResults, ListMenuItem::kCopyEmptyPaths};
  return {id < std::size(kItems) ? kItems[id] : ListMenuItem::kNone};
}

}  // namespace kavren::win32
