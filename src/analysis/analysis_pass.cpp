// analysis_pass.cpp: the batch pass behind the analyse button.
#include "analysis/analysis_pass.h"

#include <string>

#include "analysis/module1.h"

namespace kavren {

std::wstring_view LabelForCode(EncodingCode code) noexcept {
  switch (code) {
    case EncodingCode::Utf8: return L"UTF8";
    case EncodingCode::Utf16LittleEndian: return L"Unicode";
    case EncodingCode::Utf16BigEndian: return L"UUnicodeBigEndian";
    case EncodingCode::Unreadable: return L"无法读取";
    default: return L"ANSI";
  }
}

void RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2) {
  const RowIndex count = List1.RowCount();
  for (RowIndex i = 0; i < count; ++i) {
    // Moving the selection raises List1's handler, whose mirror into List2
    // finds no row i yet and fails quietly; the pass does not care.
    (void)List1.SelectRow(i);
    // The full path the row was chosen with, not its bare name: the current
    // directory says nothing about where a file came from.
    const EncodingCode code = GetFileEncoding(List1.GetPath(i).value());
    (void)List2.SetRow(i, std::wstring(LabelForCode(code)));
  }
  Command2.SetEnabled(false);
}

}  // namespace kavren
