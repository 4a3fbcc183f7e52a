// tooltips_win32.cpp: the tooltip control behind the lists' row tips and the disabled button's tip.
#include "window/tooltips_win32.h"

#include "common/handles_win32.h"
#include "window/list_box_view_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace kavren::win32 {

Tooltips::Tooltips(HWND owner, std::initializer_list<HWND> list_boxes, TextForRow text_for_row)
    : owner_(owner),
      text_for_row_(std::move(text_for_row)),
      shown_(list_boxes.size()),
      mouse_y_(list_boxes.size(), -1),
      list_boxes_(list_boxes) {
  const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&classes);
  tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(owner, GWLP_HINSTANCE)), nullptr);
  // A tip stays while the mouse rests, long enough to read two sentences.
  ::SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(30'000, 0));
  // Relayed rather than TTF_SUBCLASS: under Wine a subclassed window asks
  // wineserver for its subclass on every message, and a pass sends the
  // lists hundreds of thousands. On Windows the two work alike.
  for (HWND list_box : list_boxes_) {
    TOOLINFOW tool = Tool(reinterpret_cast<UINT_PTR>(list_box), TTF_IDISHWND);
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

TOOLINFOW Tooltips::Tool(UINT_PTR id, UINT flags, HWND window) const noexcept {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = flags;
  tool.hwnd = window ? window : owner_;
  tool.uId = id;
  tool.lpszText = const_cast<wchar_t*>(L"");
  return tool;
}

void Tooltips::SetDpi(UINT dpi) {
  max_width_ = ::MulDiv(360, static_cast<int>(dpi), 96);
  // Lines are broken here, by Wrapped, and only here: the tooltip breaks a
  // line wider than its own maximum at a space, which inside a path makes
  // part of a name read like a folder. A folder's name wider than a tip
  // keeps its line whole.
  ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 32'767);
}

std::wstring Tooltips::Wrapped(std::wstring_view text) const {
  // Breaking after these keeps a number or a clause whole; a path breaks
  // after its separators only, keeping each name whole.
  constexpr std::wstring_view kBreakAfter = L" ，。；：）";
  constexpr std::wstring_view kSeparators = L"\\/";
  if (text.empty()) return {};  // no device context to ask about nothing
  const WindowDcWithFont measuring(tip_, reinterpret_cast<HFONT>(::SendMessageW(tip_, WM_GETFONT, 0, 0)));
  const HDC dc = measuring.get();
  std::wstring lines;
  for (bool first = true; first || !text.empty(); first = false) {
    const std::size_t end = std::min(text.find(L'\n'), text.size());
    std::wstring_view line = text.substr(0, end);
    if (line.ends_with(L'\r')) line.remove_suffix(1);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!first) lines += L"\r\n";
    while (!line.empty()) {
      int fit = 0;
      SIZE extent{};
      ::GetTextExtentExPointW(dc, line.data(), static_cast<int>(line.size()), max_width_, &fit, nullptr, &extent);
      std::size_t take = std::clamp<std::size_t>(static_cast<std::size_t>(fit), 1, line.size());
      if (take < line.size()) {
        const bool path = line.find_first_of(kSeparators) != std::wstring_view::npos;
        std::size_t after = line.substr(0, take).find_last_of(path ? kSeparators : kBreakAfter);
        // A name wider than the tip, up to its own end.
        if (path && after == std::wstring_view::npos)
          after = std::min(line.find_first_of(kSeparators), line.size() - 1);
        if (after != std::wstring_view::npos) take = after + 1;
      }
      lines.append(line.substr(0, take));
      line.remove_prefix(take);
      if (!line.empty()) lines += L"\r\n";
    }
  }
  return lines;
}

void Tooltips::SetAreaTip(UINT_PTR id, const RECT& area, const wchar_t* text, HWND window) {
  TOOLINFOW tool = Tool(id, 0, window);
  tool.rect = area;
  if (std::find(areas_.begin(), areas_.end(), std::pair(tool.hwnd, id)) == areas_.end()) {
    areas_.emplace_back(tool.hwnd, id);
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  ::SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  const std::wstring wrapped = Wrapped(text);
  tool.lpszText = const_cast<wchar_t*>(wrapped.c_str());
  ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::Relay(MSG& message) {
  // The tooltip sees the lists as one tool each; the text follows the row.
  if (message.message == WM_MOUSEMOVE &&
      std::find(list_boxes_.begin(), list_boxes_.end(), message.hwnd) != list_boxes_.end()) {
    FollowMouse(message.hwnd, GET_Y_LPARAM(message.lParam));
  }
  ::SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

// A list scrolled under a resting mouse sends no mouse message, and the tip
// would go on describing the row that was there before.
void Tooltips::ListsScrolled() {
  for (std::size_t i = 0; i < list_boxes_.size(); ++i) {
    if (mouse_y_[i] >= 0) FollowMouse(list_boxes_[i], mouse_y_[i]);
  }
}

void Tooltips::FollowMouse(HWND list_box, int y) {
  const LRESULT count = ::SendMessageW(list_box, LB_GETCOUNT, 0, 0);
  const RowIndex row = RowAtY(list_box, y);
  std::wstring text = row != kNoRow && row < count ? text_for_row_(list_box, row) : std::wstring();
  const auto at =
      static_cast<std::size_t>(std::find(list_boxes_.begin(), list_boxes_.end(), list_box) - list_boxes_.begin());
  mouse_y_[at] = y;
  // Measured for its lines only when it changes, not at every mouse move.
  if (text == shown_[at]) return;
  shown_[at] = std::move(text);
  std::wstring wrapped = Wrapped(shown_[at]);
  TOOLINFOW tool = Tool(reinterpret_cast<UINT_PTR>(list_box), TTF_IDISHWND);
  tool.lpszText = wrapped.data();  // the tooltip keeps a copy
  // A tip on screen takes the new text where it is; an empty one hides.
  ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  if (shown_[at].empty()) ::SendMessageW(tip_, TTM_POP, 0, 0);
}

}  // namespace kavren::win32
