// label_counts.cpp: the counts of each label and the texts that lead from a count to its files.
#include "window/portable/label_counts.h"

#include <algorithm>

namespace kavren {

const ContentGroup* ContentGroupNamed(std::wstring_view label) noexcept {
  for (const ContentGroup& group : kContentGroups) {
    if (group.name == label) return &group;
  }
  return nullptr;
}

const ContentGroup* ContentGroupOf(ContentVerdict content) noexcept {
  for (const ContentGroup& group : kContentGroups) {
    if (group.kind == content.kind) return &group;
  }
  return nullptr;
}

std::vector<LabelCount> CountLabels(const RowList& labels, const RowFindings& findings) {
  std::array<RowIndex, kCountedCodes.size()> counts{};
  std::array<RowIndex, kContentGroups.size()> groups{};
  for (RowIndex row = 0; row < labels.RowCount(); ++row) {
    const std::wstring_view text = labels.GetRow(row).value_or(L"");
    for (std::size_t i = 0; i < kCountedCodes.size(); ++i) {
      if (text == LabelForCode(kCountedCodes[i]).view()) {
        ++counts[i];
        break;
      }
    }
    if (const ContentGroup* group = ContentGroupOf(findings.Content(row))) ++groups[group - kContentGroups.data()];
  }
  std::vector<LabelCount> found;
  for (std::size_t i = 0; i < kCountedCodes.size(); ++i) {
    if (counts[i] > 0) found.push_back({LabelForCode(kCountedCodes[i]).view(), counts[i]});
    if (kCountedCodes[i] != EncodingCode::kNoMark) continue;
    for (std::size_t g = 0; g < kContentGroups.size(); ++g) {
      if (groups[g] > 0) found.push_back({kContentGroups[g].name, groups[g]});
    }
  }
  const auto empty = std::count_if(findings.notes.begin(), findings.notes.end(),
                                   [](const auto& note) { return note.second.kind == FailureKind::kEmpty; });
  if (empty > 0) found.push_back({kEmptyFiles, static_cast<RowIndex>(empty)});
  return found;
}

bool RowCounted(const RowList& labels, const RowFindings& findings, RowIndex row, std::wstring_view label) {
  if (const ContentGroup* group = ContentGroupNamed(label)) return findings.Content(row).kind == group->kind;
  if (label != kEmptyFiles) return labels.GetRow(row) == label;
  const auto note = findings.notes.find(row);
  return note != findings.notes.end() && note->second.kind == FailureKind::kEmpty;
}

RowIndex NextRowWithLabel(const RowList& labels, const RowFindings& findings, RowIndex after, std::wstring_view label) {
  const RowIndex rows = labels.RowCount();
  const RowIndex start = std::clamp<RowIndex>(after + 1, 0, rows);
  for (RowIndex step = 0; step < rows; ++step) {
    const RowIndex row = (start + step) % rows;
    if (RowCounted(labels, findings, row, label)) return row;
  }
  return kNoRow;
}

std::wstring WithThousands(std::int64_t number) {
  std::wstring digits = std::to_wstring(number);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, L",");
  return digits;
}

std::wstring CountText(const LabelCount& count) {
  return std::wstring(count.label) + L"：" + WithThousands(count.count);
}

namespace {

// A Latin label stands in Chinese text with a space on each side, a Chinese one in quotes.
std::wstring LabelInSentence(std::wstring_view label) {
  const bool latin = std::all_of(label.begin(), label.end(), [](wchar_t c) { return c < 0x80; });
  return latin ? L" " + std::wstring(label) + L" " : L"“" + std::wstring(label) + L"”";
}

// "“无法读取”文件", " ANSI 文件", for the count of empty files "空文件", and
// for a content group the files in its own words.
std::wstring FilesWithLabel(std::wstring_view label) {
  if (const ContentGroup* group = ContentGroupNamed(label)) return std::wstring(group->files);
  return label == kEmptyFiles ? std::wstring(label) : LabelInSentence(label) + L"文件";
}

}  // namespace

std::wstring CountTip(const LabelCount& count) {
  const ContentGroup* group = ContentGroupNamed(count.label);
  const std::wstring what = count.label == kEmptyFiles ? L"（0 字节）"
                            : group                    ? L"（" + std::wstring(group->hint) + L"）"
                                                       : L"";
  return L"共 " + WithThousands(count.count) + L" 个" + FilesWithLabel(count.label) + what + L"。点击选中下一个。";
}

std::wstring NextLabelMenuText(std::wstring_view label) { return L"下一个" + FilesWithLabel(label); }

std::wstring CopyPathsMenuText(std::wstring_view label) {
  if (const ContentGroup* group = ContentGroupNamed(label)) return L"复制所有" + std::wstring(group->files) + L"的路径";
  return label == kEmptyFiles ? L"复制所有空文件的路径" : L"复制所有“" + std::wstring(label) + L"”文件的路径";
}

}  // namespace kavren
