// list_box_view_win32.cpp: batching list-box updates, since each LB_ADDSTRING
// with redraw on repaints the box and its scroll bar; and the box that draws
// its rows from the model.
#include "window/list_box_view_win32.h"

#include <algorithm>
#include <cwchar>

namespace kavren::win32 {

ListBoxView::ListBoxView(const RowList& model, HWND list_box, const RowList* selection) noexcept
    : model_(model),
      selection_(selection ? *selection : model),
      list_box_(list_box),
      drawn_((::GetWindowLongW(list_box, GWL_STYLE) & LBS_NODATA) != 0) {
  if (!drawn_) return;
  // The system hands LB_GETTEXT between processes as text only for a box
  // whose window style says LBS_HASSTRINGS; otherwise another program, and
  // a screen reader, get a number. A no-data box refuses LB_SETCOUNT when
  // created with that style, but takes its style only as it is created, so
  // the style says it afterwards and the view answers for the box.
  ::SetWindowLongW(list_box_, GWL_STYLE, ::GetWindowLongW(list_box_, GWL_STYLE) | LBS_HASSTRINGS);
  ::SetWindowLongPtrW(list_box_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  box_procedure_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(list_box_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DrawnBoxProcedure)));
}

ListBoxView::~ListBoxView() {
  if (!box_procedure_ || !::IsWindow(list_box_)) return;
  ::SetWindowLongPtrW(list_box_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(box_procedure_));
  ::SetWindowLongPtrW(list_box_, GWLP_USERDATA, 0);
}

LRESULT CALLBACK ListBoxView::DrawnBoxProcedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto* view = reinterpret_cast<const ListBoxView*>(::GetWindowLongPtrW(box, GWLP_USERDATA));
  if (view && (message == LB_GETTEXT || message == LB_GETTEXTLEN)) return view->AnswerText(message, wparam, lparam);
  // The box outlives no view, but a message may come as the view lets go.
  const WNDPROC own = view ? view->box_procedure_ : reinterpret_cast<WNDPROC>(::GetClassLongPtrW(box, GCLP_WNDPROC));
  return ::CallWindowProcW(own, box, message, wparam, lparam);
}

// A blank row beside a file not yet labelled reads as an empty string, as
// it did when the box held one.
LRESULT ListBoxView::AnswerText(UINT message, WPARAM row, LPARAM buffer) const noexcept {
  if (row >= static_cast<WPARAM>(::CallWindowProcW(box_procedure_, list_box_, LB_GETCOUNT, 0, 0))) return LB_ERR;
  const std::wstring_view text = model_.GetRow(static_cast<RowIndex>(row)).value_or(L"");
  if (message == LB_GETTEXT) {
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    std::wmemcpy(out, text.data(), text.size());
    out[text.size()] = L'\0';
  }
  return static_cast<LRESULT>(text.size());
}

void ListBoxView::DrawRow(const DRAWITEMSTRUCT& item) const {
  RECT area = item.rcItem;
  // The focus rectangle is drawn by XOR: the box asks to toggle it alone.
  if (item.itemAction == ODA_FOCUS || item.itemID == static_cast<UINT>(-1)) {
    if (item.itemState & ODS_FOCUS || item.itemAction == ODA_FOCUS) ::DrawFocusRect(item.hDC, &area);
    return;
  }
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const std::wstring_view text = model_.GetRow(static_cast<RowIndex>(item.itemID)).value_or(L"");
  const HGDIOBJ font = ::SelectObject(item.hDC, reinterpret_cast<HFONT>(::SendMessageW(list_box_, WM_GETFONT, 0, 0)));
  ::SetBkColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  // Where and how a standard box draws its text: a pixel in, clipped to the row.
  ::ExtTextOutW(item.hDC, area.left + 1, area.top, ETO_OPAQUE | ETO_CLIPPED, &area, text.data(),
                static_cast<UINT>(text.size()), nullptr);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &area);
  ::SelectObject(item.hDC, font);
}

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
  if (first_stale_row_ >= 0 && !drawn_) {
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
  if (in_batch_) return;
  AddRowsFrom(std::min(index, shown_rows_));
  InvalidateRow(index);
}

void ListBoxView::RowReplaced(RowIndex index) {
  if (in_batch_) {
    if (first_stale_row_ < 0 || index < first_stale_row_) first_stale_row_ = index;
    return;
  }
  if (index >= shown_rows_) return;
  if (drawn_) {
    InvalidateRow(index);
    return;
  }
  ReplaceShownRow(index);
  ShowCurrentRow();
}

void ListBoxView::PadTo(RowIndex rows) {
  const RowIndex more = rows - shown_rows_ - blank_rows_;
  if (more <= 0) return;
  if (drawn_) {
    blank_rows_ += more;
    return ShowRowCount();
  }
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

// A no-data box holds only its length: the model's rows, and the blanks after them.
void ListBoxView::ShowRowCount() noexcept {
  const RowIndex rows = std::max(model_.RowCount(), shown_rows_ + blank_rows_);
  shown_rows_ = model_.RowCount();
  blank_rows_ = rows - shown_rows_;
  if (::SendMessageW(list_box_, LB_GETCOUNT, 0, 0) != rows) {
    ::SendMessageW(list_box_, LB_SETCOUNT, static_cast<WPARAM>(rows), 0);
  }
}

void ListBoxView::InvalidateRow(RowIndex index) const noexcept {
  RECT row;
  if (::SendMessageW(list_box_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row)) != LB_ERR) {
    ::InvalidateRect(list_box_, &row, TRUE);
  }
}

void ListBoxView::AddRowsFrom(RowIndex first) {
  if (drawn_) return ShowRowCount();
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
  const RowIndex current = selection_.CurrentRow();
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
