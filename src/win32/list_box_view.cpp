// list_box_view.cpp: batching list-box updates, since each LB_ADDSTRING with
// redraw on repaints the box and its scroll bar.
#include "win32/list_box_view.h"

#include <algorithm>
#include <string>

namespace kavren::win32 {
namespace {

// A row as a NUL-terminated string for the list box messages.
std::wstring RowText(const RowList& model, RowIndex index) {
  return std::wstring(model.GetRow(index).value_or(std::wstring_view()));
}

}  // namespace

void ListBoxView::BeginBatch() noexcept {
  if (in_batch_) return;
  in_batch_ = true;
  ::SendMessageW(list_box_, WM_SETREDRAW, FALSE, 0);
}

void ListBoxView::Flush() {
  if (first_stale_row_ >= 0 && first_stale_row_ < shown_rows_) {
    for (RowIndex i = first_stale_row_; i < shown_rows_; ++i) ReplaceShownRow(i);
  }
  first_stale_row_ = -1;
  AddRowsFrom(shown_rows_);
  ShowCurrentRow();
}

void ListBoxView::EndBatch() {
  if (!in_batch_) return;
  Flush();
  in_batch_ = false;
  ::SendMessageW(list_box_, WM_SETREDRAW, TRUE, 0);
  // WM_SETREDRAW TRUE does not repaint by itself.
  ::RedrawWindow(list_box_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void ListBoxView::Refresh() {
  Flush();
  if (!in_batch_) return;
  ::SendMessageW(list_box_, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(list_box_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  ::SendMessageW(list_box_, WM_SETREDRAW, FALSE, 0);
}

void ListBoxView::RowAppended(RowIndex index) {
  if (!in_batch_) AddRowsFrom(std::min(index, shown_rows_));
}

void ListBoxView::RowReplaced(RowIndex index) {
  if (in_batch_) {
    if (first_stale_row_ < 0 || index < first_stale_row_) first_stale_row_ = index;
    return;
  }
  if (index >= shown_rows_) return;
  ReplaceShownRow(index);
  ShowCurrentRow();
}

void ListBoxView::RowsCleared() {
  ::SendMessageW(list_box_, LB_RESETCONTENT, 0, 0);
  shown_rows_ = 0;
  first_stale_row_ = -1;
}

void ListBoxView::CurrentRowChanged(RowIndex) {
  if (!in_batch_) ShowCurrentRow();
}

// A list box has no message to change a row's text in place.
void ListBoxView::ReplaceShownRow(RowIndex index) {
  ::SendMessageW(list_box_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  ::SendMessageW(list_box_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(RowText(model_, index).c_str()));
}

void ListBoxView::AddRowsFrom(RowIndex first) {
  const RowIndex count = model_.RowCount();
  if (first >= count) return;
  if (count - first > 1) {
    // One allocation for the batch instead of one per row.
    ::SendMessageW(list_box_, LB_INITSTORAGE, static_cast<WPARAM>(count - first),
                   static_cast<LPARAM>((count - first) * 32 * sizeof(wchar_t)));
  }
  for (RowIndex i = first; i < count; ++i) {
    ::SendMessageW(list_box_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(RowText(model_, i).c_str()));
  }
  shown_rows_ = count;
}

void ListBoxView::ShowCurrentRow() noexcept {
  // LB_SETCURSEL does not send LBN_SELCHANGE, so this never loops back into
  // the selection handlers; the model has already run them.
  const RowIndex current = model_.CurrentRow();
  if (::SendMessageW(list_box_, LB_GETCURSEL, 0, 0) != current) {
    ::SendMessageW(list_box_, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  }
}

}  // namespace kavren::win32
