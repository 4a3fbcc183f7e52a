// list_menu.h: what the lists' context menu offers on a row, and what each item says it acts on while work runs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "window/portable/label_counts.h"

namespace kavren {

// What the menu knows of the row it acts on.
struct ListMenuRow {
  bool chosen = false;          // there is a row
  bool exists = false;          // its file is still there
  bool readable = false;        // and was not labelled unreadable
  bool empty = false;           // it is an empty file
  std::wstring label{};         // empty until the pass has labelled it
  std::wstring_view content{};  // the content group of a file without a mark, once the pass has judged it
  std::wstring shell_cannot{};  // why the shell cannot open it, if it cannot
};

// Why the shell's items cannot act on `path`, said in the menu; empty where
// they can, or where the file is simply gone. `answered`: the storage has
// said whether the file is there.
[[nodiscard]] std::wstring WhyShellCannotOpen(std::wstring_view path, bool answered);

// What the lists hold as the menu opens.
struct ListMenuLists {
  bool has_rows = false;
  bool passing = false;  // the pass is under way: labels so far only
  bool walking = false;  // files are still being added
  RowIndex files = 0;    // rows of the file list
  RowIndex analysed = 0;
  std::vector<LabelCount> counts{};  // of the labels written so far
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

// An item, in the menu's order; a separator has no text, and a greyed line
// that only says why the items above it are greyed is kNone.
struct ListMenuEntry {
  ListMenuItem item = ListMenuItem::kNone;
  std::wstring text;
  bool enabled = false;
  std::size_t count = 0;  // for kNextLabel: which of the counts
};

// The row's items, greyed where they cannot act; the paths of the files
// that need converting, wherever it opens, once the pass has found any;
// copying the whole table;
// then a way to the next file of each label counted. The same items during
// the work as after it, each saying which files it acts on while the pass
// or the walk has not yet reached them all.
[[nodiscard]] std::vector<ListMenuEntry> ListMenuEntries(const ListMenuRow& row, const ListMenuLists& lists);

}  // namespace kavren
