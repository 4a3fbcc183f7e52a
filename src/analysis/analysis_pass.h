// analysis_pass.h: runs the detector down the file list and writes one label per file.
#pragma once

#include <functional>

#include "common/command_button.h"
#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// The text shown in the result list for a code.
[[nodiscard]] StaticText LabelForCode(EncodingCode code) noexcept;

// Told after each row is labelled: how many rows are done, of how many.
using PassProgress = std::function<void(RowIndex done, RowIndex total)>;

// Row i of List1 becomes current (its selection handler runs), its file is
// examined, and the label is written as row i of List2. Command2 is disabled
// at the end, also when List1 was empty.
void RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassProgress& progress = {});

}  // namespace kavren
