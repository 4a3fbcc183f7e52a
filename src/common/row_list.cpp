// row_list.cpp: the list-box model's operations and their failure rules.
#include "common/row_list.h"

namespace kavren {

std::optional<std::wstring_view> RowList::GetRow(RowIndex index) const {
  if (!Contains(index)) return std::nullopt;
  return rows_[static_cast<std::size_t>(index)].text();
}

const std::wstring* RowList::GetPath(RowIndex index) const {
  if (!Contains(index)) return nullptr;
  const Row& row = rows_[static_cast<std::size_t>(index)];
  return row.path.empty() ? &row.owned : &row.path;
}

bool RowList::Put(RowIndex index, Row row) {
  if (index == RowCount()) {
    rows_.push_back(std::move(row));
    if (view_) view_->RowAppended(index);
    return true;
  }
  if (!Contains(index)) return false;
  Row& target = rows_[static_cast<std::size_t>(index)];
  target.owned = std::move(row.owned);
  target.fixed = row.fixed;
  if (view_) view_->RowReplaced(index);
  return true;
}

bool RowList::SetRow(RowIndex index, std::wstring text) { return Put(index, Row{std::move(text), {}, {}}); }

bool RowList::SetRow(RowIndex index, StaticText text) { return Put(index, Row{{}, text.view(), {}}); }

void RowList::AppendRow(std::wstring text, std::wstring path) {
  (void)Put(RowCount(), Row{std::move(text), {}, std::move(path)});
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
