// analysis_pass.cpp: the batch pass behind the analyse button.
#include "analysis/analysis_pass.h"

#include "analysis/module1.h"

namespace kavren {

StaticText LabelForCode(EncodingCode code) noexcept {
  switch (code) {
    case EncodingCode::Utf8:
      return StaticText(L"UTF8");
    case EncodingCode::Utf16LittleEndian:
      return StaticText(L"Unicode");
    case EncodingCode::Utf16BigEndian:
      return StaticText(L"UUnicodeBigEndian");
    case EncodingCode::Unreadable:
      return StaticText(L"无法读取");
    default:
      return StaticText(L"ANSI");
  }
}

void RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassProgress& progress) {
  const RowIndex count = List1.RowCount();
  List2.Reserve(count);
  for (RowIndex i = 0; i < count; ++i) {
    // Moving the selection raises List1's handler, whose mirror into List2
    // finds no row i yet and fails quietly; the pass does not care.
    (void)List1.SelectRow(i);
    // The full path the row was chosen with, not its bare name: the current
    // directory says nothing about where a file came from.
    const std::wstring* path = List1.GetPath(i);
    const EncodingCode code = path ? GetFileEncoding(*path) : EncodingCode::Unreadable;
    (void)List2.SetRow(i, LabelForCode(code));
    if (progress) progress(i + 1, count);
  }
  Command2.SetEnabled(false);
}

}  // namespace kavren
