// tooltips_win32.h: the window's one tooltip control -- a tip per list-box row, and tips over given areas.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "common/row_list.h"

namespace kavren::win32 {

class Tooltips {
 public:
  // The tip for a row of a list box; empty for none.
  using TextForRow = std::function<std::wstring(HWND list_box, RowIndex row)>;

  Tooltips(HWND owner, std::initializer_list<HWND> list_boxes, TextForRow text_for_row);
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;

  // A tip over `area` of `window`'s client area (the owner's unless named),
  // under `id` (not a window handle). For a disabled control, which gets no
  // mouse messages: its parent gets them, so the tip belongs to the parent.
  // Empty text: no tip.
  void SetAreaTip(UINT_PTR id, const RECT& area, const wchar_t* text, HWND window = nullptr);
  // Wraps tips at a width that suits `dpi`.
  void SetDpi(UINT dpi);
  // Shows the tooltip what the mouse does, from the message loop: a mouse
  // message for the owner or one of its children, before it is dispatched.
  void Relay(MSG& message);
  // The lists have scrolled: a still mouse now rests on another row.
  void ListsScrolled();

  [[nodiscard]] HWND tooltip() const noexcept { return tip_; }

 private:
  void FollowMouse(HWND list_box, int y);
  [[nodiscard]] TOOLINFOW Tool(UINT_PTR id, UINT flags, HWND window = nullptr) const noexcept;
  // `text` in lines that fit the tip's width, each broken after a folder
  // separator or punctuation where it can be, else where the width ends: a
  // tooltip breaks lines only at spaces, and a path has none.
  [[nodiscard]] std::wstring Wrapped(std::wstring_view text) const;

  HWND owner_;
  HWND tip_;  // owned by `owner_`, which destroys it
  TextForRow text_for_row_;
  std::vector<std::wstring> shown_;  // per list box, its tool's text before wrapping
  std::vector<int> mouse_y_;         // per list box, where the mouse last was; -1 before
  int max_width_ = 360;
  std::vector<HWND> list_boxes_;
  std::vector<std::pair<HWND, UINT_PTR>> areas_;
};

}  // namespace kavren::win32
