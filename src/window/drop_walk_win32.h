// drop_walk_win32.h: what a drop of files and folders from Explorer adds to the file list.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "common/background_work.h"
#include "window/path_kind_win32.h"
#include "window/portable/open_dialog.h"

namespace kavren::win32 {

// `found` gets each file in list order; once `stop` is requested the walk
// ends at the next folder entry.
struct DropSink {
  std::function<void(ChosenFile file)> found;
  std::stop_token stop;
};

// The full paths a drop from Explorer hands over, in its order.
[[nodiscard]] std::vector<std::wstring> DroppedPaths(HDROP drop);

// Whether the walk passes over a folder entry: hidden and system entries,
// which are not the user's text, and name surrogates (junctions, symbolic
// links, mount points), which can lead back up the tree or far outside it.
// Other reparse points are files of their own: deduplicated ones, cloud
// placeholders.
[[nodiscard]] bool PassedOver(const WIN32_FIND_DATAW& entry) noexcept;

// What a drop, or the same paths on the command line, add: each file as it
// is, whatever its extension (the user picked it), and a path that names
// nothing as well, so that its pass says why. Each folder as the .txt files
// in it and in all its subfolders, a folder's files before its subfolders,
// each in Explorer's natural order, without what PassedOver names; a folder
// that cannot be read adds nothing.
void WalkPaths(const std::vector<std::wstring>& paths, const DropSink& sink);
void WalkFolder(const std::wstring& folder, const DropSink& sink);

// What lists the files of dropped paths; WalkPaths unless told otherwise.
using Walker = std::function<void(const std::vector<std::wstring>& paths, const DropSink& sink)>;

// A walker on a thread of its own: a folder on a share or a cloud drive
// may take many seconds to list, and the window must not wait for it. A
// stopped walk still inside a listing is left to end by itself, and what
// it finds then goes nowhere.
class BackgroundWalk : public BackgroundWork<std::vector<ChosenFile>> {
 public:
  BackgroundWalk(std::vector<std::wstring> paths, Walker walk, std::function<void()> over);
};

}  // namespace kavren::win32
