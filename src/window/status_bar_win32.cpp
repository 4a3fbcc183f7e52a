// status_bar_win32.cpp: the rows of the status bar, their parts and what a click on a count names.
#include "window/status_bar_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "common/handles_win32.h"

namespace kavren::win32 {
namespace {

// Tool IDs of the parts' tips: a row's parts count from its own base.
constexpr UINT_PTR kTipIdsPerRow = 16;
// Widths kept before they are forgotten all at once: a long pass names a
// new waiting file now and then, and the map must not grow with the pass.
constexpr std::size_t kWidthsKept = 512;

}  // namespace

StatusBar::StatusBar(HWND owner, int first_id, Tooltips& tips) : owner_(owner), tips_(tips) {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    // Placed by the window rather than by itself: a status bar otherwise
    // docks at its parent's bottom whenever it is sized, and two would
    // land on each other.
    rows_[i] = ::CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0, 0, 0, 0,
        owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(first_id + static_cast<int>(i))), instance, nullptr);
  }
}

void StatusBar::SetFont(HFONT font, UINT dpi) {
  font_ = font;
  dpi_ = dpi;
  widths_.clear();
  for (HWND bar : rows_) ::SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  moved_ = true;
  // The height the control itself takes for its font, borders and edges:
  // let it size itself once, as it does when it docks, then place it again.
  const HWND bar = rows_[0];
  const LONG_PTR style = ::GetWindowLongPtrW(bar, GWL_STYLE);
  ::SetWindowLongPtrW(bar, GWL_STYLE, style & ~static_cast<LONG_PTR>(CCS_NORESIZE));
  ::SendMessageW(bar, WM_SIZE, 0, 0);
  RECT natural{};
  ::GetWindowRect(bar, &natural);
  ::SetWindowLongPtrW(bar, GWL_STYLE, style);
  row_height_ = natural.bottom - natural.top;
}

void StatusBar::Place() {
  RECT client;
  ::GetClientRect(owner_, &client);
  width_ = client.right;
  // From the bottom: the state, the details of the ANSI files when there are
  // any, and the counts of the labels above them.
  int top = client.bottom;
  for (const std::size_t row : {0u, 2u, 1u}) {
    const bool shown = row != 2 || details_shown_;
    ::ShowWindow(rows_[row], shown ? SW_SHOWNA : SW_HIDE);
    if (!shown) continue;
    top -= row_height_;
    ::MoveWindow(rows_[row], 0, top, client.right, row_height_, TRUE);
  }
  moved_ = true;
  LayOutParts();
}

int StatusBar::TextWidth(std::wstring_view text, std::optional<WindowDcWithFont>& measuring) {
  const std::wstring key(text);
  if (const auto known = widths_.find(key); known != widths_.end()) return known->second;
  // Measured once per text and font, in one device context for the whole
  // layout: each call to a device context is a round trip to the X server
  // under Wine, and on Windows too GDI takes the font's glyphs anew for
  // every extent. The texts of a pass change once a second; the counts,
  // and a bar's worth of cuts, stay the same.
  if (widths_.size() > kWidthsKept) widths_.clear();
  if (!measuring) measuring.emplace(owner_, font_);
  SIZE extent{};
  ::GetTextExtentPoint32W(measuring->get(), text.data(), static_cast<int>(text.size()), &extent);
  // A part draws its text inside a sunken edge, a few pixels in, and
  // leaves a gap before the next part.
  const int width = extent.cx + ::MulDiv(14, static_cast<int>(dpi_), 96);
  widths_.emplace(key, width);
  return width;
}

bool StatusBar::Show(const StatusLines& lines, const std::vector<LabelCount>& counts) {
  if (!moved_ && lines == lines_ && counts == counts_) return false;
  lines_ = lines;
  counts_ = counts;
  const bool details_were_shown = details_shown_;
  LayOutParts();
  if (details_shown_ != details_were_shown) Place();
  // Now, not when the queue next runs dry: the texts change while the
  // window is busy applying a batch.
  for (HWND bar : rows_) ::UpdateWindow(bar);
  return details_shown_ != details_were_shown;
}

void StatusBar::LayOutParts() {
  std::optional<WindowDcWithFont> measuring;
  StatusRows rows = LayOutStatus(lines_, counts_, width_,
                                 [this, &measuring](std::wstring_view text) { return TextWidth(text, measuring); });
  details_shown_ = !rows[2].empty();
  for (std::size_t r = 0; r < rows_.size(); ++r) ShowRow(r, std::move(rows[r]));
  moved_ = false;
}

void StatusBar::ShowRow(std::size_t r, std::vector<StatusPart> parts) {
  if (parts.empty()) parts.push_back({});
  // A pass changes the texts once a second and the parts seldom: every
  // message to a control repaints or round-trips, so only what changed is sent.
  const std::vector<StatusPart>& shown = parts_[r];
  const bool same_parts =
      !moved_ && std::equal(parts.begin(), parts.end(), shown.begin(), shown.end(),
                            [](const StatusPart& a, const StatusPart& b) { return a.width == b.width; });
  std::vector<bool> new_text(parts.size());
  for (std::size_t i = 0; i < parts.size(); ++i) new_text[i] = !same_parts || shown[i].text != parts[i].text;
  // A status bar repaints itself at once on every new text (Wine's does;
  // Windows' invalidates): where several change, the row is drawn once,
  // when Show asks, instead of flickering part by part.
  const auto changed = std::count(new_text.begin(), new_text.end(), true);
  if (changed > 1) ::SendMessageW(rows_[r], WM_SETREDRAW, FALSE, 0);
  if (!same_parts) {
    std::vector<int> rights;
    int right = 0;
    for (const StatusPart& part : parts) rights.push_back(right += part.width);
    rights.back() = -1;  // the last part runs to the end of the row
    ::SendMessageW(rows_[r], SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (new_text[i]) ::SendMessageW(rows_[r], SB_SETTEXTW, i, reinterpret_cast<LPARAM>(parts[i].text.c_str()));
    if (!same_parts || shown[i].tip != parts[i].tip) {
      RECT area{};
      ::SendMessageW(rows_[r], SB_GETRECT, i, reinterpret_cast<LPARAM>(&area));
      tips_.SetAreaTip(r * kTipIdsPerRow + i, area, parts[i].tip.c_str(), rows_[r]);
    }
  }
  // Parts that are gone take their tips with them.
  for (std::size_t i = parts.size(); i < shown.size(); ++i) tips_.SetAreaTip(r * kTipIdsPerRow + i, {}, L"", rows_[r]);
  if (changed > 1) {
    ::SendMessageW(rows_[r], WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(rows_[r], nullptr, FALSE);
  }
  parts_[r] = std::move(parts);
}

std::optional<std::wstring_view> StatusBar::LabelClicked(const NMHDR& notification) const {
  if (notification.code != static_cast<UINT>(NM_CLICK)) return std::nullopt;
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    if (notification.hwndFrom != rows_[r]) continue;
    // The point rather than the part the bar names: older status bars do
    // not name it.
    const POINT at = reinterpret_cast<const NMMOUSE&>(notification).pt;
    for (std::size_t i = 0; i < parts_[r].size(); ++i) {
      RECT area{};
      ::SendMessageW(rows_[r], SB_GETRECT, i, reinterpret_cast<LPARAM>(&area));
      if (::PtInRect(&area, at) && !parts_[r][i].label.empty()) return parts_[r][i].label;
    }
  }
  return std::nullopt;
}

}  // namespace kavren::win32
