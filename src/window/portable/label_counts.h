// label_counts.h: how many files carry each label, the way from a count to its files, and what each says.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/label_texts.h"
#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// The labels in the order the status bar counts them: the marks, then no mark, unreadable and online only.
inline constexpr std::array<EncodingCode, 6> kCountedCodes = {
    EncodingCode::kUtf8,   EncodingCode::kUtf16LittleEndian, EncodingCode::kUtf16BigEndian,
    EncodingCode::kNoMark, EncodingCode::kUnreadable,        EncodingCode::kOnlineOnly};

// Empty files keep their label, ANSI, but are what a user most wants to
// find (failed downloads): they get a count of their own after the labels'.
inline constexpr std::wstring_view kEmptyFiles = L"空文件";

// The files without a mark, by what their first bytes hold: each verdict
// has a count of its own after ANSI's, so that the files that need
// converting are found without opening each. `name` is the count's label.
struct ContentGroup {
  ContentKind kind;
  std::wstring_view name;
  std::wstring_view files;  // the files in a sentence
  std::wstring_view hint;   // what to do with them
};
inline constexpr std::array<ContentGroup, 4> kContentGroups = {{
    {ContentKind::kUtf8, L"UTF-8 无 BOM", L"无 BOM、内容是 UTF-8 的文件", L"按前 4 KB 判断；不要再当作 GBK 转换"},
    {ContentKind::kNotUtf8, L"非 UTF-8", L"无 BOM、内容不是 UTF-8 的文件", L"可能是 GBK 等本地编码，需要转换的是这些"},
    {ContentKind::kOnlyAscii, L"仅 ASCII", L"只有 ASCII 字符的文件",
     L"按前 4 KB 判断：这一段按 GBK 或 UTF-8 读都一样，更长的文件之后的内容没有读取"},
    {ContentKind::kNulBytes, L"含 NUL", L"无 BOM、含 NUL 字节的文件", L"可能是 UTF-16 或 UTF-32，或不是文本"},
}};
// The group of the files that need converting, which the lists' menu offers on every row.
inline constexpr const ContentGroup& kNotUtf8Group = kContentGroups[1];

// The group whose count `label` names, if it names one.
[[nodiscard]] const ContentGroup* ContentGroupNamed(std::wstring_view label) noexcept;
// The group of a verdict; null for kNone.
[[nodiscard]] const ContentGroup* ContentGroupOf(ContentVerdict content) noexcept;

struct LabelCount {
  std::wstring_view label;  // as LabelForCode writes it, or kEmptyFiles
  RowIndex count;
  bool operator==(const LabelCount&) const = default;
};

// How many rows of the label list carry each label, in the order of
// kCountedCodes, leaving out the labels no row carries, with the ANSI
// files' content groups after ANSI; then how many of the files are empty,
// if any are.
[[nodiscard]] std::vector<LabelCount> CountLabels(const RowList& labels, const RowFindings& findings);

// Whether row `row` is counted under `label` (a label, a content group's
// name or kEmptyFiles).
[[nodiscard]] bool RowCounted(const RowList& labels, const RowFindings& findings, RowIndex row,
                              std::wstring_view label);

// The first row after `after` counted under `label`, going on from the top
// past the last row (so a row that is the only one finds itself); kNoRow
// when no row is. `after` may be kNoRow: the search starts at the top.
[[nodiscard]] RowIndex NextRowWithLabel(const RowList& labels, const RowFindings& findings, RowIndex after,
                                        std::wstring_view label);

// A count, 1234567, as "1,234,567", as Explorer counts items.
[[nodiscard]] std::wstring WithThousands(std::int64_t number);

// The text of a label's part of the status bar: the label, then its count.
[[nodiscard]] std::wstring CountText(const LabelCount& count);
// What a click on that part does.
[[nodiscard]] std::wstring CountTip(const LabelCount& count);
// The lists' context-menu item that does the same.
[[nodiscard]] std::wstring NextLabelMenuText(std::wstring_view label);
// The lists' context-menu item that copies the paths of every file counted under `label`.
[[nodiscard]] std::wstring CopyPathsMenuText(std::wstring_view label);

}  // namespace kavren
