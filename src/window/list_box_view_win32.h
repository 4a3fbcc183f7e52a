// list_box_view_win32.h: shows a RowList in a standard list box and keeps the two in step.
#pragma once

#include <windows.h>

#include "common/row_list.h"

namespace kavren::win32 {

class ListBoxView final : public RowListView {
 public:
  ListBoxView(const RowList& model, HWND list_box) noexcept : model_(model), list_box_(list_box) {}

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

  const RowList& model_;
  HWND list_box_;
  bool in_batch_ = false;
  RowIndex shown_rows_ = 0;  // of the model's rows, and after them
  RowIndex blank_rows_ = 0;
  RowIndex first_stale_row_ = -1;  // the lowest row whose text changed in a batch
};

// The row of `list_box` at `y` in its client area, whether or not a row is
// there; kNoRow above it.
[[nodiscard]] RowIndex RowAtY(HWND list_box, int y) noexcept;

}  // namespace kavren::win32
