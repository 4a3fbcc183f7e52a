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

#include "window/open_selection.h"

namespace kavren::win32 {

// `found` gets each file in list order; once `stop` is requested the walk
// ends at the next folder entry.
struct DropSink {
  std::function<void(ChosenFile file)> found;
  std::stop_token stop;
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

// What lists the files of dropped paths; WalkPaths unless told otherwise.
using Walker = std::function<void(const std::vector<std::wstring>& paths, const DropSink& sink)>;

// A walker on a thread of its own: a folder on a share or a cloud drive
// may take many seconds to list, and the window must not wait for it.
class BackgroundWalk {
 public:
  // `over` is called on the walk's thread once it has ended, so that the
  // last files can be taken at once.
  BackgroundWalk(std::vector<std::wstring> paths, const Walker& walk, std::function<void()> over);
  BackgroundWalk(const BackgroundWalk&) = delete;
  BackgroundWalk& operator=(const BackgroundWalk&) = delete;
  // Stops the walk. One still inside a listing is left to end by itself,
  // and what it finds then goes nowhere.
  ~BackgroundWalk();

  // Moves the files found since the last call to the end of `files`. True
  // once the walk is over and every file it found has been handed over.
  bool Take(std::vector<ChosenFile>& files);

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace kavren::win32
