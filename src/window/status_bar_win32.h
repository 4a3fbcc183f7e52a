// status_bar_win32.h: the window's status bar -- where the batch stands, and a part per label with its count.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/handles_win32.h"
#include "window/portable/label_counts.h"
#include "window/portable/status_bar.h"
#include "window/portable/status_text.h"
#include "window/tooltips_win32.h"

namespace kavren::win32 {

// Rows of the common controls' status bar along the bottom of the owner's
// client area: the counts (or what to do next) above, the state of the
// batch below, in the window's bottom-left corner, where a screen reader
// looks for the status bar (NVDA+End reads it): where the batch stands is
// what a user who cannot see it asks for. Between them, once a pass has
// found files without a mark, a third row of what they hold. Where the
// parts go and what is cut to fit is LayOutStatus's; this side measures the
// texts in the window's font and shows the parts. Each part is plain text,
// which screen readers read.
class StatusBar {
 public:
  // `first_id` and the next are the rows' control IDs.
  StatusBar(HWND owner, int first_id, Tooltips& tips);
  StatusBar(const StatusBar&) = delete;
  StatusBar& operator=(const StatusBar&) = delete;

  // The rows' height for `font` at `dpi`.
  void SetFont(HFONT font, UINT dpi);
  // The rows shown; the window grows by their height.
  [[nodiscard]] int Height() const noexcept { return (details_shown_ ? 3 : 2) * row_height_; }
  // Along the bottom of the owner's client area.
  void Place();

  // What the bar shows: the lines, and the counts, which take the place of
  // the line above the state. True when the row of details came or went,
  // and with it the bar's height: the window has to change its own.
  [[nodiscard]] bool Show(const StatusLines& lines, const std::vector<LabelCount>& counts);

  // The label whose count a click (NM_CLICK from a row) fell on, if any.
  [[nodiscard]] std::optional<std::wstring_view> LabelClicked(const NMHDR& notification) const;

 private:
  void LayOutParts();
  void ShowRow(std::size_t r, std::vector<StatusPart> parts);
  [[nodiscard]] int TextWidth(std::wstring_view text, std::optional<WindowDcWithFont>& measuring);

  HWND owner_;
  Tooltips& tips_;
  std::array<HWND, 3> rows_{};
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  int row_height_ = 0;
  int width_ = 0;               // the rows', as last placed
  StatusRows parts_;            // per row, as last shown
  bool moved_ = true;           // the rows were placed or given a font since
  bool details_shown_ = false;  // the row of details has parts
  StatusLines lines_;
  std::vector<LabelCount> counts_;
  std::unordered_map<std::wstring, int> widths_;  // of each text measured in font_
};

}  // namespace kavren::win32
