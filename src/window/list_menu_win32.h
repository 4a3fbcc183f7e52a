// list_menu_win32.h: the lists' context menu -- what can be done with the row it opens on, and with the batch.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window/label_counts.h"

namespace kavren::win32 {

// What the menu knows of the row it acts on.
struct ListMenuRow {
  bool chosen = false;          // there is a row
  bool exists = false;          // its file is still there
  bool readable = false;        // and was not labelled unreadable
  bool empty = false;           // it is an empty file
  std::wstring label;           // empty until the pass has labelled it
  std::wstring_view content{};  // the content group of a file without a mark, if the pass judged it
  std::wstring shell_cannot{};  // why the shell cannot open it, if it cannot
};

enum class ListMenuItem {
  kNone,
  kOpen,
  kOpenFolder,
  kCopyPath,
  kCopyLabelPaths,
  kCopyResults,
  kCopyEmptyPaths,
  kCopyContentPaths,
  kCopyNotUtf8Paths,
  kNextLabel
};
struct ListMenuChoice {
  ListMenuItem item = ListMenuItem::kNone;
  std::size_t count = 0;  // for kNextLabel: which of the counts
};

// A standard popup with access keys at `at` (screen), owned by `owner`:
// the row's items, greyed where they cannot act; the paths of the files
// that need converting, wherever it opens, once a pass has found any;
// copying the whole table; then a way to the next file of each label
// counted. Returns the choice.
[[nodiscard]] ListMenuChoice TrackListMenu(HWND owner, POINT at, const ListMenuRow& row, bool has_rows,
                                           const std::vector<LabelCount>& counts);

}  // namespace kavren::win32
