// clipboard_text.cpp: the texts a copy puts on the clipboard.
#include "window/clipboard_text.h"

#include "window/label_counts.h"

namespace kavren {

std::wstring ResultTable(const RowList& names, const RowList& labels,
                         const std::function<std::wstring(RowIndex)>& note) {
  std::wstring table = L"文件名\t编码方式\t完整路径\t说明\r\n";
  // One allocation for 100,000 rows rather than a dozen regrowths.
  std::size_t size = table.size();
  for (RowIndex i = 0; i < names.RowCount(); ++i) {
    size += names.GetRow(i)->size() + names.GetPath(i)->size() + labels.GetRow(i).value_or(L"").size() + 5;
  }
  table.reserve(size);
  for (RowIndex i = 0; i < names.RowCount(); ++i) {
    table += *names.GetRow(i);
    table += L'\t';
    table += labels.GetRow(i).value_or(L"");
    table += L'\t';
    table += *names.GetPath(i);
    table += L'\t';
    table += note(i);
    table += L"\r\n";
  }
  return table;
}

std::wstring PathsWithLabel(const RowList& names, const RowList& labels, const RowFindings& findings,
                            std::wstring_view label, RowIndex& count) {
  std::wstring paths;
  count = 0;
  for (RowIndex i = 0; i < labels.RowCount(); ++i) {
    if (!RowCounted(labels, findings, i, label)) continue;
    paths += *names.GetPath(i) + L"\r\n";
    ++count;
  }
  return paths;
}

}  // namespace kavren
