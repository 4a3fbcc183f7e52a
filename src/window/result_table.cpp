// result_table.cpp: the copy of the results.
#include "window/result_table.h"

namespace kavren {

std::wstring ResultTable(const RowList& names, const RowList& labels) {
  std::wstring table = L"文件名\t编码方式\t完整路径\r\n";
  // One allocation for 100,000 rows rather than a dozen regrowths.
  std::size_t size = table.size();
  for (RowIndex i = 0; i < names.RowCount(); ++i) {
    size += names.GetRow(i)->size() + names.GetPath(i)->size() + labels.GetRow(i).value_or(L"").size() + 4;
  }
  table.reserve(size);
  for (RowIndex i = 0; i < names.RowCount(); ++i) {
    ((table += *names.GetRow(i)) += L'\t');
    ((table += labels.GetRow(i).value_or(L"")) += L'\t');
    (table += *names.GetPath(i)) += L"\r\n";
  }
  return table;
}

}  // namespace kavren
