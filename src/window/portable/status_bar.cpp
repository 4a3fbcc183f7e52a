// status_bar.cpp: the status bar's layout, apart from the control that shows it.
#include "window/portable/status_bar.h"

#include <algorithm>
#include <numeric>

namespace kavren {
namespace {

constexpr std::wstring_view kEllipsis = L"…";

// `name` in `keep` characters or fewer: its start, "…", and its extension
// when it has a short one, as Explorer shortens a name.
std::wstring Shortened(std::wstring_view name, std::size_t keep) {
  if (name.size() <= keep) return std::wstring(name);
  const std::size_t dot = name.rfind(L'.');
  const std::wstring_view extension =
      dot != std::wstring_view::npos && name.size() - dot <= 6 ? name.substr(dot) : std::wstring_view();
  const std::size_t head = keep > extension.size() + 1 ? keep - extension.size() - 1 : 0;
  return std::wstring(name.substr(0, head)) + std::wstring(kEllipsis) + std::wstring(extension);
}

// `text` cut to fit `width`: in the span [at, at + size) if it has one,
// otherwise at its end. The most that fits, found by halving.
std::wstring Fitted(const std::wstring& text, std::size_t at, std::size_t size, int width, const MeasureText& measure) {
  if (measure(text) <= width) return text;
  if (size == 0) {
    at = 0;
    size = text.size();
  }
  const std::wstring before = text.substr(0, at);
  const std::wstring after = text.substr(at + size);
  const std::wstring_view span = std::wstring_view(text).substr(at, size);
  auto with = [&](std::size_t keep) {
    // A cut at the end keeps no extension: the line goes on after it.
    return before +
           (after.empty() && at == 0 ? std::wstring(span.substr(0, keep)) + std::wstring(kEllipsis)
                                     : Shortened(span, keep)) +
           after;
  };
  std::size_t low = 0;
  std::size_t high = size;
  while (low < high) {
    const std::size_t middle = (low + high + 1) / 2;
    if (measure(with(middle)) <= width) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return with(low);
}

}  // namespace

StatusRows LayOutStatus(const StatusLines& lines, const std::vector<LabelCount>& counts, int width,
                        const MeasureText& measure) {
  StatusRows rows;
  // Each row of counts fills from the left; what does not fit goes beside the state.
  std::vector<StatusPart> beside;
  std::array<int, 3> used{};
  std::array<bool, 3> full{};
  for (const LabelCount& count : counts) {
    const std::size_t row = ContentGroupNamed(count.label) || count.label == kEmptyFiles ? 2 : 1;
    StatusPart part{CountText(count), CountTip(count), count.label, 0};
    part.width = measure(part.text);
    used[row] += part.width;
    // Once one does not fit, the rest of its row follow it, keeping their order.
    full[row] = full[row] || used[row] > width;
    (full[row] ? beside : rows[row]).push_back(std::move(part));
  }
  if (counts.empty()) {
    // The name first; a bar too narrow even then loses the end of the line.
    StatusPart next{Fitted(Fitted(lines.next, lines.name_at, lines.name_size, width, measure), 0, 0, width, measure),
                    L"",
                    {},
                    width};
    if (next.text != lines.next) next.tip = lines.next;
    rows[1].push_back(std::move(next));
  }
  const int room = width - std::accumulate(beside.begin(), beside.end(), 0,
                                           [](int sum, const StatusPart& part) { return sum + part.width; });
  StatusPart state{lines.state, lines.why, {}, room};
  if (measure(lines.state) > room) {
    state.text = Fitted(lines.brief, 0, 0, room, measure);
    // Said in full where the mouse rests.
    state.tip = lines.why.empty() ? lines.state : lines.state + L"\n" + lines.why;
  }
  rows[0].push_back(std::move(state));
  for (StatusPart& part : beside) rows[0].push_back(std::move(part));
  return rows;
}

}  // namespace kavren
