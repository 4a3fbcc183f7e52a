// open_dialog.h: takes the Open dialog's selection apart into the chosen files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavren {

struct ChosenFile {
  std::wstring name;  // what the file list shows
  std::wstring path;  // where the file is read from
};

// One piece is a full path; several are a folder followed by names, each
// bare or, when typed so in the dialog's name box, a full path of its own.
// Pieces are split at NUL, and only the backslash separates folders. Nothing
// is trimmed, sorted or de-duplicated. The empty selection gives nothing.
[[nodiscard]] std::vector<ChosenFile> ParseOpenSelection(std::wstring_view selection);

// The dialog writes the selection followed by an empty item (two NULs in a
// row). Returns the selection without that terminator, or an empty view when
// the buffer holds no complete selection.
[[nodiscard]] std::wstring_view SelectionInBuffer(std::wstring_view buffer) noexcept;

}  // namespace kavren
