// row_list.cpp: the list-box model's operations and their failure rules.
#include "common/row_list.h"

namespace kavren {

std::optional<std::wstring_view> RowList::GetRow(RowIndex index) const {
  if (!Contains(index)) return std::nullopt;
  return std::wstring_view(rows_[static_cast<std::size_t>(index)].text);
}

std::optional<std::wstring_view> RowList::GetPath(RowIndex index) const {
  if (!Contains(index)) return std::nullopt;
  const Row& row = rows_[static_cast<std::size_t>(index)];
  return std::wstring_view(row.path.empty() ? row.text : row.path);
}

bool RowList::SetRow(RowIndex index, std::wstring text) {
  if (index == RowCount()) {
    AppendRow(std::move(text));
    return true;
  }
  if (!Contains(index)) return false;
  rows_[static_cast<std::size_t>(index)].text = std::move(text);
  if (view_) view_->RowReplaced(index);
  return true;
}

void RowList::AppendRow(std::wstring text, std::wstring path) {
  rows_.push_back(Row{std::move(text), std::move(path)});
  if (view_) view_->RowAppended(RowCount() - 1);
}

void RowList::ClearRows() {
  rows_.clear();
  // Clearing does not raise the selection handler: with no rows left there
  // is nothing a mirror could select.
  current_ = kNoRow;
  if (view_) view_->RowsCleared();
}

bool RowList::SelectRow(RowIndex index) {
  if (!Contains(index)) return false;
  if (index == current_) return true;
  current_ = index;
  if (view_) view_->CurrentRowChanged(index);
  if (handler_) handler_();
  return true;
}

}  // namespace kavren
