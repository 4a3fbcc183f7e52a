// clipboard_text.h: what a copy puts on the clipboard -- the lists as a table that pastes into a spreadsheet, or the
// paths of one label's files.
#pragma once

#include <functional>
#include <string>

#include "analysis/label_texts.h"
#include "common/row_list.h"

namespace kavren {

// What a copy puts on the clipboard, and what the status bar then says of
// it. A copy of nothing has no text: the clipboard keeps what it had, and
// nothing claims that none were copied.
struct ClipboardCopy {
  std::wstring text;
  std::wstring said;
};

// The lists as a table: a heading line, then one line per listed file,
// labelled or not: its name, its label (empty until the pass has labelled
// it), its full path and the note on its label (why it was unreadable;
// empty for most), separated by tabs, each line ending in CR LF. No file
// name or note can hold a tab or a line break.
[[nodiscard]] ClipboardCopy ResultsCopy(const RowList& names, const RowList& labels,
                                        const std::function<std::wstring(RowIndex)>& note);

// The full paths of the files counted under `label` (a label, a content
// group's name, or kEmptyFiles), in list order, each on a line of its own ending in CR LF:
// what a converter or a script reads.
[[nodiscard]] ClipboardCopy PathsCopy(const RowList& names, const RowList& labels, const RowFindings& findings,
                                      std::wstring_view label);

}  // namespace kavren
