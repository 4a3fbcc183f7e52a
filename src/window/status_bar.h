// status_bar.h: where the status bar's texts go in its two rows, and how a text too wide for its part is cut.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "window/label_counts.h"
#include "window/status_text.h"

namespace kavren {

// One part of a row: its text as shown, what the mouse resting on it says,
// and its width in the bar's units.
struct StatusPart {
  std::wstring text;
  std::wstring tip;
  std::wstring_view label{};  // a count's label: a click selects its next file
  int width = 0;
};

// How wide a text is in the bar, the part's edges and margins included.
using MeasureText = std::function<int(std::wstring_view text)>;

// The two rows of a bar `width` wide: the state of the batch below (row
// 0), in the window's corner where screen readers look; above it (row 1)
// the counts, or the line of what to do next. Counts that do not fit above
// go down beside the state, which then says it in brief. A text still too
// wide for its part is cut as Explorer cuts: a file name in its middle,
// keeping its start and extension, and otherwise at its end, always with
// "…"; what the line says after the name stays whole. A part cut says its
// whole text in its tip.
[[nodiscard]] std::array<std::vector<StatusPart>, 2> LayOutStatus(const StatusLines& lines,
                                                                  const std::vector<LabelCount>& counts, int width,
                                                                  const MeasureText& measure);

}  // namespace kavren
