// status_bar.h: where the status bar's texts go in its rows, and how a text too wide for its part is cut.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "window/portable/label_counts.h"
#include "window/portable/status_text.h"

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

// The rows of a bar `width` wide: the state of the batch (row 0), in the
// window's corner where screen readers look; the counts of the labels, or
// the line of what to do next (row 1), shown above it; and the details of
// the ANSI files, what their content is and how many are empty (row 2),
// shown between the two and empty when there are none. Counts that do not
// fit their row go down beside the state, which then says it in brief. A
// text still too wide for its part is cut as Explorer cuts: a file name in
// its middle, keeping its start and extension, and otherwise at its end,
// always with "…"; what the line says after the name stays whole. A part
// cut says its whole text in its tip.
using StatusRows = std::array<std::vector<StatusPart>, 3>;
[[nodiscard]] StatusRows LayOutStatus(const StatusLines& lines, const std::vector<LabelCount>& counts, int width,
                                      const MeasureText& measure);

}  // namespace kavren
