// label_texts.h: what the label list and its tips say of each outcome of the detector.
#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// The rows of a pass that need a word beside their label, by index: why
// each unreadable file was not read, and which files were empty.
using RowNotes = std::map<RowIndex, ReadFailure>;

// All that a pass found beside the labels: the notes of the few rows that
// need one, and what the first bytes of every row's file hold, by index.
struct RowFindings {
  RowNotes notes;
  std::vector<ContentVerdict> contents;
  // kNone for a row the pass has not reached.
  [[nodiscard]] ContentVerdict Content(RowIndex row) const noexcept {
    return row >= 0 && row < static_cast<RowIndex>(contents.size()) ? contents[static_cast<std::size_t>(row)]
                                                                    : ContentVerdict{};
  }
};

// The text shown in the result list for a code.
[[nodiscard]] StaticText LabelForCode(EncodingCode code) noexcept;

// One or two sentences on what a label of LabelForCode means; empty for
// any other text.
[[nodiscard]] std::wstring_view LabelMeaning(std::wstring_view label) noexcept;

// What the first bytes of a file without a mark hold, in a sentence that
// says "前 4 KB" when that is all it rests on; empty for kNone.
[[nodiscard]] std::wstring_view ContentText(ContentVerdict content) noexcept;

// Why a file was unreadable, in a sentence; for kOther only a general one,
// since the system's message for the error belongs to the platform.
[[nodiscard]] std::wstring_view FailureText(FailureKind kind) noexcept;

}  // namespace kavren
