// clipboard_text.cpp: the texts a copy puts on the clipboard.
#include "window/portable/clipboard_text.h"

#include "window/portable/label_counts.h"

namespace kavren {

ClipboardCopy ResultsCopy(const RowList& names, const RowList& labels,
                          const std::function<std::wstring(RowIndex)>& note) {
  if (names.RowCount() == 0) return {};
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
  return {std::move(table), L"已复制 " + WithThousands(names.RowCount()) + L" 行结果"};
}

ClipboardCopy PathsCopy(const RowList& names, const RowList& labels, const RowFindings& findings,
                        std::wstring_view label) {
  std::wstring paths;
  RowIndex count = 0;
  for (RowIndex i = 0; i < labels.RowCount(); ++i) {
    if (!RowCounted(labels, findings, i, label)) continue;
    paths += *names.GetPath(i) + L"\r\n";
    ++count;
  }
  if (count == 0) return {};
  return {std::move(paths), L"已复制 " + WithThousands(count) + L" 个文件的路径"};
}

}  // namespace kavren
