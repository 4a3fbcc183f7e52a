// list_box_view_win32.h: shows a RowList in a list box and keeps the two in step.
#pragma once

#include <windows.h>

#include "common/row_list.h"

namespace kavren::win32 {

// A standard box holds a copy of each row. A box made LBS_OWNERDRAWFIXED |
// LBS_NODATA holds only how many rows it has: its owner hands WM_DRAWITEM to
// DrawRow, and the view answers LB_GETTEXT and LB_GETTEXTLEN from the model,
// so a row changes in place and costs the same at the 200,000th row as at
// the first, and a screen reader or another program still reads its text.
class ListBoxView final : public RowListView {
 public:
  // `selection`, when given, is the list whose current row the box shows
  // selected in place of the model's own: the label list shows the file
  // list's, on a blank row too, so the two never show different rows.
  ListBoxView(const RowList& model, HWND list_box, const RowList* selection = nullptr) noexcept;
  ~ListBoxView();
  ListBoxView(const ListBoxView&) = delete;
  ListBoxView& operator=(const ListBoxView&) = delete;

  // While a Batch lives the box neither repaints nor follows each change;
  // when it ends the box catches up with the model and repaints once.
  class Batch {
   public:
    explicit Batch(ListBoxView& view) noexcept;
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    ListBoxView& view_;
    bool outermost_;
  };

  // Brings the box up to the model now; within a batch, repaints it too.
  void Refresh();
  // Shows blank rows after the model's, up to `rows` in all, so that a list
  // shown beside a longer one can scroll as far; the model's next row
  // takes the first blank's place.
  void PadTo(RowIndex rows);
  // Draws a row of a box that holds no rows, as a standard box draws its own.
  void DrawRow(const DRAWITEMSTRUCT& item) const;

  void RowAppended(RowIndex index) override;
  void RowReplaced(RowIndex index) override;
  void RowsCleared() override;
  void CurrentRowChanged(RowIndex index) override;

 private:
  void Flush();
  void AddRowsFrom(RowIndex first);
  [[nodiscard]] const wchar_t* RowText(RowIndex index) const;
  void ReplaceShownRow(RowIndex index);
  void ShowCurrentRow() noexcept;
  void ShowRowCount() noexcept;
  void InvalidateRow(RowIndex index) const noexcept;
  [[nodiscard]] LRESULT AnswerText(UINT message, WPARAM row, LPARAM buffer) const noexcept;
  static LRESULT CALLBACK DrawnBoxProcedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam);

  const RowList& model_;
  const RowList& selection_;
  HWND list_box_;
  bool drawn_;                       // the box holds no rows, and draws them from the model
  WNDPROC box_procedure_ = nullptr;  // the list box's own, under the view's
  bool in_batch_ = false;
  RowIndex shown_rows_ = 0;  // of the model's rows, and after them
  RowIndex blank_rows_ = 0;
  RowIndex first_stale_row_ = -1;  // the lowest row whose text changed in a batch
};

// The row of `list_box` at `y` in its client area, whether or not a row is
// there; kNoRow above it.
[[nodiscard]] RowIndex RowAtY(HWND list_box, int y) noexcept;

}  // namespace kavren::win32
