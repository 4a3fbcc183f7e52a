// drop_walk_win32.h: what a drop of files and folders from Explorer adds to the file list.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "window/open_selection.h"

namespace kavren::win32 {

// `found` gets each file in list order; `tick` is called every few hundred
// folder entries, so that a walk of a large tree can keep its window alive.
struct DropSink {
  std::function<void(ChosenFile file)> found;
  std::function<void()> tick;
};

// The full paths a drop from Explorer hands over, in its order.
[[nodiscard]] std::vector<std::wstring> DroppedPaths(HDROP drop);

// What a drop, or the same paths on the command line, add: each file as it
// is, whatever its extension (the user picked it), and a path that names
// nothing as well, so that its pass says why. Each folder as the .txt files
// in it and in all its subfolders, a folder's files before its subfolders,
// each in Explorer's natural order. Hidden and system entries and reparse
// points (junctions, symbolic links) are passed over, and a folder that
// cannot be read adds nothing.
void WalkPaths(const std::vector<std::wstring>& paths, const DropSink& sink);
void WalkFolder(const std::wstring& folder, const DropSink& sink);

}  // namespace kavren::win32
