// path_kind_win32.cpp: what a path names, asked of its attributes.
#include "window/path_kind_win32.h"

#include <windows.h>

#include "analysis/device_names.h"
#include "common/long_path_win32.h"

namespace kavren::win32 {

PathKind KindOfPath(const std::wstring& path) {
  if (NamesDevice(path)) return PathKind::kRefused;
  std::wstring long_form;
  const wchar_t* openable = OpenablePath(path, long_form);
  const DWORD attributes = openable ? ::GetFileAttributesW(openable) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::kFolder : PathKind::kFile;
}

}  // namespace kavren::win32
