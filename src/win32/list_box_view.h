// list_box_view.h: shows a RowList in a standard list box and keeps the two in step.
#pragma once

#include <windows.h>

#include "common/row_list.h"

namespace kavren::win32 {

class ListBoxView final : public RowListView {
 public:
  ListBoxView(const RowList& model, HWND list_box) noexcept : model_(model), list_box_(list_box) {}

  // While a batch is open the box neither repaints nor follows each change;
  // Flush brings it up to the model, and EndBatch does so and repaints.
  void BeginBatch() noexcept;
  void Flush();
  void EndBatch();
  // Within a batch: flush and repaint now, then go on batching.
  void Refresh();

  void RowAppended(RowIndex index) override;
  void RowReplaced(RowIndex index) override;
  void RowsCleared() override;
  void CurrentRowChanged(RowIndex index) override;

 private:
  void AddRowsFrom(RowIndex first);
  void ReplaceShownRow(RowIndex index);
  void ShowCurrentRow() noexcept;

  const RowList& model_;
  HWND list_box_;
  bool in_batch_ = false;
  RowIndex shown_rows_ = 0;
  RowIndex first_stale_row_ = -1;  // the lowest row whose text changed in a batch
};

}  // namespace kavren::win32
