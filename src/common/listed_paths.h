// listed_paths.h: the paths of a list's rows, compared as Windows compares them, so that no file is listed twice.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/row_list.h"

namespace kavren {

// `path` in the form in which two paths of one file are equal, as Windows
// opens files: letters in either case, / for \, doubled or trailing
// separators, and the \\?\ and \\?\UNC\ forms name the same file. Letters
// are folded as the file system folds them in the scripts that names are
// written in here (Latin, Greek, Cyrillic, the full-width forms); two names
// apart only by the case of another letter stay apart, so that at worst a
// file is listed twice, and never is one file hidden behind another.
[[nodiscard]] std::wstring PathKey(std::wstring_view path);

// The paths of a list's rows, asked about in constant time whatever the
// length of the list, which reaches 200,000 files.
class ListedPaths {
 public:
  // False if `path` names the file of a row of `list`; otherwise it is
  // taken as the path of the row that the caller appends to `list` next.
  [[nodiscard]] bool Add(const RowList& list, std::wstring_view path);
  void Clear() noexcept { rows_.clear(); }

 private:
  std::unordered_multimap<std::size_t, RowIndex> rows_;  // by the hash of each row's key
};

}  // namespace kavren
