// form1_win32.h: the program's one window -- its controls, their wiring and the handlers it owns.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "common/command_button.h"
#include "common/handles_win32.h"
#include "common/listed_paths.h"
#include "common/row_list.h"
#include "window/app_version.h"
#include "window/base_window_win32.h"
#include "window/existence_checks_win32.h"
#include "window/form1_controls_win32.h"
#include "window/list_box_view_win32.h"
#include "window/long_work_win32.h"
#include "window/portable/clipboard_text.h"
#include "window/portable/open_dialog.h"
#include "window/shell_open_win32.h"
#include "window/status_bar_win32.h"
#include "window/tooltips_win32.h"

namespace kavren::win32 {

// What a test or a benchmark stands in for, handed over as form1 is
// created; left as it is, the program's own.
struct Form1Seams {
  // What the pass examines each file with, in place of GetFileEncoding, and
  // what lists dropped folders, in place of the folder walk: a storage that
  // stalls on one file or one folder can be stood in for.
  FileReader read{};
  Walker walk{};
  // The pass's read-ahead, in place of the one chosen for this system.
  ReadAheadPool read_ahead = DefaultReadAheadPool();
};

class Form1 final : public BaseWindow<Form1> {
 public:
  static constexpr wchar_t kCaption[] = L"" KAVREN_PRODUCT_NAME " V1.0";
  static constexpr wchar_t kClassName[] = L"KavrenTxtEncodingViewer.form1";

  // Registers the window class on first use, creates form1 centred on its
  // monitor and shows it. Null if the window cannot be created.
  static std::unique_ptr<Form1> Create(HINSTANCE instance, int show_command, Form1Seams seams = {});
  ~Form1();

  [[nodiscard]] HWND control(Control which) const noexcept { return controls_[static_cast<std::size_t>(which)]; }
  [[nodiscard]] const RowList& list1() const noexcept { return List1; }
  [[nodiscard]] const RowList& list2() const noexcept { return List2; }
  [[nodiscard]] HWND tooltip() const noexcept { return tips_ ? tips_->tooltip() : nullptr; }
  [[nodiscard]] StatusBar& status_bar() noexcept { return *status_; }

  // What Command1 does with the dialog's answer: one row per chosen file,
  // added as one batch.
  void AppendChosenFiles(std::vector<ChosenFile> files);
  // What a drop from Explorer does: the dropped files, and the .txt files of
  // the dropped folders' trees, added as they are found. `drop` is freed.
  void AppendDroppedFiles(HDROP drop);
  // The same for full paths from elsewhere, such as the command line that
  // Explorer starts the program with for a drop on its icon or Send To.
  // Paths handed over while long work runs are walked after it.
  void AppendPaths(std::vector<std::wstring> paths);
  // Puts both lists on the clipboard as a table, and says so.
  void CopyResults();
  // A pass or a walk is under way.
  [[nodiscard]] bool Working() const noexcept { return long_work_ && long_work_->Running(); }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  Form1() = default;

  void OnCreate();
  void OnCommand(int id, int code);
  void OnWindowPosChanging(WINDOWPOS& pos) const noexcept;
  void OnGetMinMaxInfo(MINMAXINFO& info) const noexcept;
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnActivate(bool active);
  void OnNotify(const NMHDR& notification);
  [[nodiscard]] LRESULT OnListKey(WORD key);
  void OnDestroy();
  // The lists' menu; false for any other window.
  [[nodiscard]] bool OnContextMenu(HWND list_box, POINT at);
  void ShowListMenu(POINT at);

  void ChooseFiles();
  void AnalyseFiles();
  void ClearData();
  void OpenMakerSite() const;
  void OnListSelectionChanged(HWND list_box);
  // Row i of one list stands beside row i of the other: when `painted` has
  // scrolled, the other list scrolls to the same first row. True if it had.
  bool KeepListsSideBySide(HWND painted);
  // After the program itself has moved the lists, the label list takes the
  // file list's first row, and both are taken as the program's doing.
  void AlignLabelsWithFiles();
  // List1 may hold more rows than there are labels (a walk, files added
  // after a pass); List2 shows blank rows beside the rest, or it could not
  // scroll as far and a label would sit beside another file's name.
  void ShowUnlabelledRows();
  // The run's one pass is used: Command2 is disabled from the moment it
  // starts, and nothing enables it again.
  [[nodiscard]] bool PassUsed() const noexcept { return !Command2.Enabled(); }
  [[nodiscard]] bool HasRows() const noexcept { return List1.RowCount() > 0 || List2.RowCount() > 0; }
  // What the tooltip says over a row of either list.
  [[nodiscard]] std::wstring RowTip(HWND list_box, RowIndex row) const;
  // Why row `row` was unreadable, or that its file is empty; else what the
  // first bytes of a file without a mark hold; empty for the rest.
  [[nodiscard]] std::wstring Note(RowIndex row) const;
  void ShowAnalyseTip();
  // Puts `copy` on the clipboard, and the status bar says so until the next
  // change; a copy of nothing does neither.
  void Copy(ClipboardCopy copy);
  // The status bar says where the batch stands.
  void ShowStatus();
  void FollowStatusBarHeight();
  // Appends each file not listed yet and counts the rest in repeated_.
  void ListNewFiles(std::vector<ChosenFile>& files);
  // From a count in the status bar to its files: selects the next row with
  // `label` after the selected one, in both lists.
  void SelectNextWithLabel(std::wstring_view label);

  void CreateControls();
  void ApplyFont();
  void LayOutControls() const;
  [[nodiscard]] SIZE OuterSize() const noexcept;

  // What long work found since last time, into the lists and the status bar.
  void OnWorkNews();
  void OnEndSession(bool ending);
  // The shell found no program for text, on the thread that asked it.
  void OnNoTextProgram();
  // Greys what cannot act now.
  void ShowWhatCanAct();
  [[nodiscard]] bool OnSetCursor(WORD hit) const;

  RowList List1;
  RowList List2;
  CommandButton Command2;

  std::array<HWND, kControlCount> controls_{};
  std::optional<ListBoxView> list1_view_;
  std::optional<ListBoxView> list2_view_;
  std::optional<Tooltips> tips_;
  std::optional<StatusBar> status_;
  std::vector<LabelCount> counts_;  // as the status bar last showed them
  std::wstring copied_;             // what the status bar says of the last copy, until the next change
  RowFindings findings_;            // beside List2's rows
  ExistenceChecks existence_;       // the menu's, at most one per file out at a time
  Form1Seams seams_;
  std::vector<std::wstring> handed_over_;  // paths handed over during long work, to walk after it
  ListedPaths listed_;                     // List1's paths
  RowIndex repeated_ = 0;                  // of the last drop or choice, the files already listed
  // The pass moves the selection row by row until the user selects a row
  // or scrolls; then the lists stay where the user put them.
  bool follow_pass_ = true;
  std::array<LRESULT, 2> top_rows_{};  // the first row each list showed when last painted
  unique_font font_;
  UINT dpi_ = 96;
  HWND focus_before_deactivation_ = nullptr;
  std::optional<LongWork> long_work_;  // from WM_CREATE on, when the window has its handle
  std::wstring last_folder_;           // where the Open dialog opens next; never saved
  bool saying_no_text_program_ = false;
};

}  // namespace kavren::win32
