// list_box_view_win32.cpp: batching list-box updates, since each LB_ADDSTRING
// with redraw on repaints the box and its scroll bar.
#include "window/list_box_view_win32.h"

#include <algorithm>

namespace kavren::win32 {

ListBoxView::Batch::Batch(ListBoxView& view) noexcept : view_(view), outermost_(!view.in_batch_) {
  if (!outermost_) return;
  view_.in_batch_ = true;
  ::SendMessageW(view_.list_box_, WM_SETREDRAW, FALSE, 0);
}

ListBoxView::Batch::~Batch() {
  if (!outermost_) return;
  view_.Flush();
  view_.in_batch_ = false;
  ::SendMessageW(view_.list_box_, WM_SETREDRAW, TRUE, 0);
  // WM_SETREDRAW TRUE does not repaint by itself.
  ::RedrawWindow(view_.list_box_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void ListBoxView::Flush() {
  if (first_stale_row_ >= 0) {
    for (RowIndex i = first_stale_row_; i < shown_rows_; ++i) ReplaceShownRow(i);
  }
  first_stale_row_ = -1;
  AddRowsFrom(shown_rows_);
  ShowCurrentRow();
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

void ListBoxView::PadTo(RowIndex rows) {
  const RowIndex more = rows - shown_rows_ - blank_rows_;
  if (more <= 0) return;
  const Batch batch(*this);
  ::SendMessageW(list_box_, LB_INITSTORAGE, static_cast<WPARAM>(more), 0);
  for (; shown_rows_ + blank_rows_ < rows; ++blank_rows_) {
    ::SendMessageW(list_box_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
  }
}

void ListBoxView::RowsCleared() {
  ::SendMessageW(list_box_, LB_RESETCONTENT, 0, 0);
  blank_rows_ = 0;
  shown_rows_ = 0;
  first_stale_row_ = -1;
}

void ListBoxView::CurrentRowChanged(RowIndex) {
  if (!in_batch_) ShowCurrentRow();
}

// The model's rows are NUL-terminated, so they go to the box as they are.
const wchar_t* ListBoxView::RowText(RowIndex index) const {
  const auto row = model_.GetRow(index);
  return row ? row->data() : L"";
}

// A list box has no message to change a row's text in place.
void ListBoxView::ReplaceShownRow(RowIndex index) {
  ::SendMessageW(list_box_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  ::SendMessageW(list_box_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(RowText(index)));
}

void ListBoxView::AddRowsFrom(RowIndex first) {
  const RowIndex count = model_.RowCount();
  RowIndex row = first;
  // Blank rows give way to the model's new rows in place, so the box keeps
  // its length and where it is scrolled to.
  for (; row < count && blank_rows_ > 0; ++row) {
    ReplaceShownRow(row);
    --blank_rows_;
  }
  if (count - row > 1) {
    // One allocation for the batch instead of one per row.
    ::SendMessageW(list_box_, LB_INITSTORAGE, static_cast<WPARAM>(count - row),
                   static_cast<LPARAM>((count - row) * 32 * sizeof(wchar_t)));
  }
  for (; row < count; ++row) {
    ::SendMessageW(list_box_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(RowText(row)));
  }
  shown_rows_ = std::max(shown_rows_, count);
}

void ListBoxView::ShowCurrentRow() noexcept {
  // LB_SETCURSEL does not send LBN_SELCHANGE, so this never loops back into
  // the selection handlers; the model has already run them.
  const RowIndex current = model_.CurrentRow();
  if (::SendMessageW(list_box_, LB_GETCURSEL, 0, 0) != current) {
    ::SendMessageW(list_box_, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  }
}

// LB_ITEMFROMPOINT answers in 16 bits, and a list may hold 100,000 rows.
// The rows all have one height, so the row follows from the top one.
RowIndex RowAtY(HWND list_box, int y) noexcept {
  const LRESULT top = ::SendMessageW(list_box, LB_GETTOPINDEX, 0, 0);
  const LRESULT height = ::SendMessageW(list_box, LB_GETITEMHEIGHT, 0, 0);
  return height > 0 && y >= 0 ? static_cast<RowIndex>(top + y / height) : kNoRow;
}

}  // namespace kavren::win32
