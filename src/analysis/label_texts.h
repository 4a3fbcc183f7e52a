// label_texts.h: what the label list and its tips say of each outcome of the detector.
#pragma once

#include <map>
#include <string_view>

#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// The rows of a pass that need a word beside their label, by index: why
// each unreadable file was not read, and which files were empty.
using RowNotes = std::map<RowIndex, ReadFailure>;

// The text shown in the result list for a code.
[[nodiscard]] StaticText LabelForCode(EncodingCode code) noexcept;

// One or two sentences on what a label of LabelForCode means; empty for
// any other text.
[[nodiscard]] std::wstring_view LabelMeaning(std::wstring_view label) noexcept;

// Why a file was unreadable, in a sentence; for kOther only a general one,
// since the system's message for the error belongs to the platform.
[[nodiscard]] std::wstring_view FailureText(FailureKind kind) noexcept;

}  // namespace kavren
