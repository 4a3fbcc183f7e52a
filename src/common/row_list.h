// row_list.h: the model of one list box -- ordered text rows with a single selection.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavren {

// Wide enough that a list of more than 32,767 rows is just a longer list.
using RowIndex = std::ptrdiff_t;
inline constexpr RowIndex kNoRow = -1;

// Text that lives as long as the program, such as a label literal. A row
// holding it keeps a view instead of a copy, so a pass over 100,000 files
// does not allocate 100,000 copies of "UTF8".
class StaticText {
 public:
  template <std::size_t N>
  explicit constexpr StaticText(const wchar_t (&literal)[N]) noexcept : text_(literal, N - 1) {}
  [[nodiscard]] constexpr std::wstring_view view() const noexcept { return text_; }

 private:
  std::wstring_view text_;
};

// Whatever shows a RowList on screen. It is told about every change so that
// it can follow the model, which stays the truth.
class RowListView {
 public:
  virtual void RowAppended(RowIndex index) = 0;
  virtual void RowReplaced(RowIndex index) = 0;
  virtual void RowsCleared() = 0;
  virtual void CurrentRowChanged(RowIndex index) = 0;

 protected:
  ~RowListView() = default;
};

class RowList {
 public:
  using SelectionHandler = std::function<void()>;

  [[nodiscard]] RowIndex RowCount() const noexcept { return static_cast<RowIndex>(rows_.size()); }
  [[nodiscard]] RowIndex CurrentRow() const noexcept { return current_; }

  // nullopt unless 0 <= index < RowCount(). The view is NUL-terminated and
  // valid until the list next changes.
  [[nodiscard]] std::optional<std::wstring_view> GetRow(RowIndex index) const;
  // The file a row names: the path it was added with, or its text when it
  // was added without one. Null unless 0 <= index < RowCount().
  [[nodiscard]] const std::wstring* GetPath(RowIndex index) const;

  // index < count replaces that row's text; index == count appends. Anything
  // else fails and changes nothing.
  [[nodiscard]] bool SetRow(RowIndex index, std::wstring text);
  [[nodiscard]] bool SetRow(RowIndex index, StaticText text);
  void AppendRow(std::wstring text, std::wstring path = {});
  void ClearRows();
  void Reserve(RowIndex rows) { rows_.reserve(static_cast<std::size_t>(rows)); }

  // Makes `index` the current row and then, nested, runs the selection
  // handler -- only when the current row really changes. An index outside
  // the rows (-1 included) fails and changes nothing.
  [[nodiscard]] bool SelectRow(RowIndex index);

  void SetSelectionHandler(SelectionHandler handler) { handler_ = std::move(handler); }
  void SetView(RowListView* view) noexcept { view_ = view; }

 private:
  struct Row {
    std::wstring owned;       // the text, unless it is static
    std::wstring_view fixed;  // static text; empty when the text is owned
    std::wstring path;
    [[nodiscard]] std::wstring_view text() const noexcept { return fixed.data() ? fixed : owned; }
  };

  [[nodiscard]] bool Contains(RowIndex index) const noexcept { return index >= 0 && index < RowCount(); }
  [[nodiscard]] bool Put(RowIndex index, Row row);

  std::vector<Row> rows_;
  RowIndex current_ = kNoRow;
  SelectionHandler handler_;
  RowListView* view_ = nullptr;
};

}  // namespace kavren
