// list_menu_win32.cpp: the lists' context menu, built and tracked, and what form1 does with the choice.
#include "window/list_menu_win32.h"

#include <chrono>

#include "common/handles_win32.h"
#include "window/form1_win32.h"
#include "window/portable/clipboard_text.h"
#include "window/shell_open_win32.h"

namespace kavren::win32 {
namespace {

// How long the menu asks whether a file still exists: a share may not answer.
constexpr std::chrono::milliseconds kExistsWait{200};

}  // namespace

const ListMenuEntry* TrackListMenu(HWND owner, POINT at, const std::vector<ListMenuEntry>& entries) {
  const unique_menu menu(::CreatePopupMenu());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ListMenuEntry& entry = entries[i];
    // TrackPopupMenuEx returns the item chosen rather than posting a
    // WM_COMMAND, so an item's id is its place, after 0 for none.
    const UINT flags = entry.text.empty() ? MF_SEPARATOR : MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED);
    ::AppendMenuW(menu.get(), flags, i + 1, entry.text.empty() ? nullptr : entry.text.c_str());
  }
  const auto id =
      static_cast<UINT>(::TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr));
  return id > 0 && id <= entries.size() ? &entries[id - 1] : nullptr;
}

bool Form1::OnContextMenu(HWND list_box, POINT at) {
  if (list_box != control(Control::List1) && list_box != control(Control::List2)) return false;
  // Shift+F10 and the menu key give no point: open below the selected row,
  // or at the top of the list.
  if (at.x == -1 && at.y == -1) {
    RECT row{};
    const LRESULT selected = ::SendMessageW(list_box, LB_GETCURSEL, 0, 0);
    if (selected < 0 || ::SendMessageW(list_box, LB_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&row)) == LB_ERR) {
      row = {};
    }
    at = {row.left, row.bottom};
    ::ClientToScreen(list_box, &at);
  } else {
    // A right click on a row selects it first, as in Explorer: the menu
    // acts on that row. List1's mirror selects it in List2 too.
    POINT inside = at;
    ::ScreenToClient(list_box, &inside);
    const RowIndex row = RowAtY(list_box, inside.y);
    if (row != kNoRow && row < List1.RowCount()) {
      follow_pass_ = false;
      (void)List1.SelectRow(row);
    }
  }
  ShowListMenu(at);
  return true;
}

void Form1::ShowListMenu(POINT at) {
  // The row the menu acts on: the selected one, which a right click has just made its own. Copies: the
  // menu's own loop handles what was posted meanwhile (a drop, say), which may change the lists.
  const RowIndex row = List1.CurrentRow();
  const std::wstring* chosen = List1.GetPath(row);
  const std::wstring path = chosen ? *chosen : std::wstring();
  const FileState state = chosen ? existence_.Check(path, kExistsWait) : FileState::kGone;
  const std::wstring label(List2.GetRow(row).value_or(L""));
  const ContentGroup* group = ContentGroupOf(findings_.Content(row));
  const ListMenuRow shown{
      .chosen = chosen != nullptr,
      .exists = state == FileState::kThere,
      .readable = label != LabelForCode(EncodingCode::kUnreadable).view(),
      .empty = RowCounted(List2, findings_, row, kEmptyFiles),
      .label = label,
      .content = group ? group->name : std::wstring_view(),
      .shell_cannot = chosen ? WhyShellCannotOpen(path, state != FileState::kUnknown) : std::wstring()};
  // During the pass the counts are of the labels so far, which the status bar does not show yet.
  const WorkState& work = long_work_->state();
  const ListMenuLists lists{.has_rows = HasRows(),
                            .passing = work.passing,
                            .walking = work.walking,
                            .files = List1.RowCount(),
                            .analysed = work.done,
                            .counts = work.passing ? CountLabels(List2, findings_) : counts_};
  const std::vector<ListMenuEntry> entries = ListMenuEntries(shown, lists);
  const ListMenuEntry* choice = TrackListMenu(hwnd_, at, entries);
  if (!choice) return;
  switch (choice->item) {
    case ListMenuItem::kOpen:
      return OpenAsText(hwnd_, path);
    case ListMenuItem::kOpenFolder:
      return ShowInFolder(path);
    case ListMenuItem::kCopyPath:
      return Copy({path, L"已复制完整路径"});
    case ListMenuItem::kCopyLabelPaths:
    case ListMenuItem::kCopyEmptyPaths:
    case ListMenuItem::kCopyContentPaths:
    case ListMenuItem::kCopyNotUtf8Paths: {
      const std::wstring_view label = choice->item == ListMenuItem::kCopyEmptyPaths     ? kEmptyFiles
                                      : choice->item == ListMenuItem::kCopyContentPaths ? shown.content
                                      : choice->item == ListMenuItem::kCopyNotUtf8Paths
                                          ? kNotUtf8Group.name
                                          : std::wstring_view(shown.label);
      return Copy(PathsCopy(List1, List2, findings_, label));
    }
    case ListMenuItem::kCopyResults:
      return CopyResults();
    case ListMenuItem::kNextLabel:
      return SelectNextWithLabel(lists.counts[choice->count].label);
    case ListMenuItem::kNone:
      return;
  }
}

}  // namespace kavren::win32
