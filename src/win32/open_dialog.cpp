// open_dialog.cpp: GetOpenFileNameW with a result buffer sized for large selections.
#include "win32/open_dialog.h"

#include <commdlg.h>

#include <string_view>

#include "win32/win32_handles.h"

namespace kavren::win32 {

std::vector<ChosenFile> ChooseTxtFiles(HWND owner) {
  using namespace std::literals;
  // One filter entry, a description and a pattern; the list ends in an
  // extra NUL, which the literal's own terminator provides.
  static constexpr std::wstring_view kFilter = L"Txt文件(*.txt)\0*.txt\0"sv;

  // Wine's dialog copies a multi-selection into the buffer without checking
  // nMaxFile, so a small buffer would be overrun rather than refused. The
  // memory is committed but untouched pages cost nothing until written.
  unique_virtual_memory memory(::VirtualAlloc(nullptr, kSelectionBufferChars * sizeof(wchar_t),
                                              MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (!memory) return {};
  auto* buffer = static_cast<wchar_t*>(memory.get());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter.data();
  dialog.lpstrFile = buffer;  // zero-filled: no initial file name
  dialog.nMaxFile = kSelectionBufferChars;
  dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT;

  // FALSE is a cancel (CommDlgExtendedError() == 0) or a failure such as
  // FNERR_BUFFERTOOSMALL. Either way the buffer holds no selection to trust,
  // so nothing is added rather than half of it.
  if (!::GetOpenFileNameW(&dialog)) return {};
  return ParseOpenSelection(SelectionInBuffer(std::wstring_view(buffer, kSelectionBufferChars)));
}

}  // namespace kavren::win32
