// open_dialog_win32.cpp: GetOpenFileNameW with a result buffer sized for large selections.
#include "window/open_dialog_win32.h"

#include <commdlg.h>

#include <string_view>

#include "common/handles_win32.h"

namespace kavren::win32 {
namespace {

// The dialog moves the current directory to the folder the files came from
// (OFN_NOCHANGEDIR is documented not to stop that for Open). A folder that
// is some process's current directory cannot be deleted or renamed, and a
// stick holding it cannot be removed safely, so it goes back afterwards.
class CurrentDirectoryKeeper {
 public:
  CurrentDirectoryKeeper() {
    saved_.resize(::GetCurrentDirectoryW(0, nullptr));
    saved_.resize(::GetCurrentDirectoryW(static_cast<DWORD>(saved_.size()), saved_.data()));
  }
  ~CurrentDirectoryKeeper() {
    if (!saved_.empty()) ::SetCurrentDirectoryW(saved_.c_str());
  }
  CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
  CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

 private:
  std::wstring saved_;
};

// The dialog keeps its folders in MAX_PATH buffers, on Windows as under
// Wine, and promises nothing for a longer starting folder: Wine's appends a
// pattern to it and writes through a null pointer. So it starts in the
// nearest folder, the one asked for or one above it, that leaves room for an
// 8.3 name, as CreateDirectoryW's limit has it; or wherever it chooses.
constexpr std::size_t kFolderChars = MAX_PATH - 12;

std::wstring_view FolderTheDialogTakes(std::wstring_view folder) noexcept {
  while (folder.size() >= kFolderChars) {
    // Past the folder's own closing separator, to the one before its name.
    const std::size_t cut = folder.find_last_of(L"\\/", folder.size() - 2);
    if (cut == std::wstring_view::npos || cut == 0) return {};
    folder = folder.substr(0, cut + 1);
  }
  return folder;
}

}  // namespace

std::vector<ChosenFile> ChooseTxtFiles(HWND owner, std::wstring& folder) {
  using namespace std::literals;
  // One filter entry, a description and a pattern; the list ends in an
  // extra NUL, which the literal's own terminator provides.
  static constexpr std::wstring_view kFilter = L"Txt文件(*.txt)\0*.txt\0"sv;

  // Wine's dialog copies a multi-selection into the buffer without checking
  // nMaxFile, so a small buffer would be overrun rather than refused, and
  // 36,000 long names overrun even this one. The buffer ends at a page
  // boundary, and the page after it is reserved but never committed: an
  // overrun stops there with an access violation instead of overwriting
  // whatever lay beyond. Committed pages cost nothing until written.
  constexpr SIZE_T kBufferBytes = kSelectionBufferChars * sizeof(wchar_t);
  static_assert(kBufferBytes % 65536 == 0, "the buffer must end where a page ends");
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  unique_virtual_memory memory(::VirtualAlloc(nullptr, kBufferBytes + system.dwPageSize, MEM_RESERVE, PAGE_NOACCESS));
  if (!memory || !::VirtualAlloc(memory.get(), kBufferBytes, MEM_COMMIT, PAGE_READWRITE)) return {};
  auto* buffer = static_cast<wchar_t*>(memory.get());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter.data();
  dialog.lpstrFile = buffer;  // zero-filled: no initial file name
  dialog.nMaxFile = kSelectionBufferChars;
  const std::wstring start(FolderTheDialogTakes(folder));
  dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  // The read-only box means nothing to a program that only reads, and the
  // program keeps its promise to write nothing: no Recent Items either.
  dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_DONTADDTORECENT;

  const CurrentDirectoryKeeper keep_current_directory;
  // FALSE is a cancel (CommDlgExtendedError() == 0) or a failure such as
  // FNERR_BUFFERTOOSMALL. Either way the buffer holds no selection to trust,
  // so nothing is added rather than half of it; nor when the selection's
  // double NUL is not inside the buffer.
  if (!::GetOpenFileNameW(&dialog)) return {};
  std::vector<ChosenFile> files =
      ParseOpenSelection(SelectionInBuffer(std::wstring_view(buffer, kSelectionBufferChars)));
  if (!files.empty()) {
    // Up to and with the last backslash, so that a drive root stays "C:\".
    const std::wstring& first = files.front().path;
    folder = first.substr(0, first.rfind(L'\\') + 1);
  }
  return files;
}

}  // namespace kavren::win32
