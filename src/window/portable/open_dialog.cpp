// open_dialog.cpp: parsing of the Open dialog's file-name result.
#include "window/portable/open_dialog.h"

namespace kavren {
namespace {

std::vector<std::wstring_view> SplitAtNul(std::wstring_view text) {
  std::vector<std::wstring_view> pieces;
  if (text.empty()) return pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t nul = text.find(L'\0', start);
    if (nul == std::wstring_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, nul - start));
    start = nul + 1;
  }
}

std::wstring_view AfterLastBackslash(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

// A drive letter and colon, or a network path: a name typed in full among
// several in the dialog's name box comes back as it was typed.
bool IsFullPath(std::wstring_view piece) {
  const bool drive = piece.size() >= 2 && piece[1] == L':' && ((piece[0] | 0x20) >= L'a' && (piece[0] | 0x20) <= L'z');
  return drive || piece.starts_with(L"\\\\");
}

}  // namespace

std::vector<ChosenFile> ParseOpenSelection(std::wstring_view selection) {
  const std::vector<std::wstring_view> pieces = SplitAtNul(selection);
  std::vector<ChosenFile> files;
  if (pieces.empty()) return files;

  if (pieces.size() == 1) {
    files.push_back({std::wstring(AfterLastBackslash(pieces[0])), std::wstring(pieces[0])});
    return files;
  }

  // A drive root already ends in a backslash (C:\); other folders do not.
  std::wstring folder(pieces[0]);
  if (!folder.ends_with(L'\\')) folder += L'\\';
  files.reserve(pieces.size() - 1);
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    if (IsFullPath(pieces[i])) {
      files.push_back({std::wstring(AfterLastBackslash(pieces[i])), std::wstring(pieces[i])});
    } else {
      files.push_back({std::wstring(pieces[i]), folder + std::wstring(pieces[i])});
    }
  }
  return files;
}

std::wstring_view SelectionInBuffer(std::wstring_view buffer) noexcept {
  if (buffer.empty() || buffer[0] == L'\0') return {};
  const std::size_t end = buffer.find(std::wstring_view(L"\0\0", 2));
  if (end == std::wstring_view::npos) return {};
  return buffer.substr(0, end);
}

}  // namespace kavren
