// form1_win32.cpp: creation, layout, size lock and event wiring of the main window.
#include "window/form1_win32.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "window/clipboard_win32.h"
#include "window/dpi_win32.h"
#include "window/drop_walk_win32.h"
#include "window/message_loop_win32.h"
#include "window/open_dialog_win32.h"
#include "window/private_messages_win32.h"
#include "window/resource_ids.h"
#include "window/screen_reader_names_win32.h"
#include "window/shell_open_win32.h"
#include "window/system_message_win32.h"

namespace kavren::win32 {
namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HICON LoadAppIcon(HINSTANCE instance, int size_metric) {
  const int size = ::GetSystemMetrics(size_metric);
  // Shared: the system owns the icon and frees it with the module.
  return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, LR_SHARED));
}

bool RegisterForm1Class(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(instance, Form1::kClassName, &existing)) return true;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = Form1::kClassName;
  return ::RegisterClassExW(&wc) != 0;
}

// The part of the window's monitor that the taskbar leaves free.
RECT WorkAreaOf(HWND window, DWORD otherwise) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(window, otherwise), &monitor);
  return monitor.rcWork;
}

}  // namespace

std::unique_ptr<Form1> Form1::Create(HINSTANCE instance, int show_command, Form1Seams seams) {
  if (!RegisterForm1Class(instance, &Form1::WindowProc)) return nullptr;
  std::unique_ptr<Form1> form(new Form1());
  form->seams_ = std::move(seams);
  // Created hidden at a provisional place: the size and position depend on
  // the DPI of the monitor it lands on, known only once it exists.
  ::CreateWindowExW(0, Form1::kClassName, Form1::kCaption, kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, nullptr, nullptr, instance, form.get());
  if (!form->hwnd()) return nullptr;

  const RECT work = WorkAreaOf(form->hwnd(), MONITOR_DEFAULTTOPRIMARY);
  const SIZE outer = form->OuterSize();
  ::SetWindowPos(form->hwnd(), nullptr, work.left + (work.right - work.left - outer.cx) / 2,
                 work.top + (work.bottom - work.top - outer.cy) / 2, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(form->hwnd(), show_command);
  ::UpdateWindow(form->hwnd());
  return form;
}

Form1::~Form1() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lparam));
      return 0;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lparam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_SETFOCUS:
      OnActivate(true);
      return 0;
    case WM_SIZE:
      if (status_) status_->Place();
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
      return 0;
    case kRelayMouseMessage:
      if (tips_) tips_->Relay(*reinterpret_cast<MSG*>(lparam));
      return 0;
    case kNoTextProgramMessage:
      OnNoTextProgram();
      return 0;
    case WM_DROPFILES:
      AppendDroppedFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_TIMER:
      if (wparam == kWorkTimerId) OnWorkNews();
      return 0;
    case kWorkEndedMessage:
      OnWorkNews();
      return 0;
    case WM_ENDSESSION:
      OnEndSession(wparam != FALSE);
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(LOWORD(lparam))) return TRUE;
      return ::DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_CTLCOLORLISTBOX:
      // Every scroll that the pass did not make is the user's.
      if (KeepListsSideBySide(reinterpret_cast<HWND>(lparam))) follow_pass_ = false;
      return ::DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_DRAWITEM:
      if (list2_view_) list2_view_->DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_CONTEXTMENU:
      // Elsewhere (the title bar's window menu, say) the system's own handling stands.
      if (OnContextMenu(reinterpret_cast<HWND>(wparam), {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)})) return 0;
      return ::DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_VKEYTOITEM:
      return OnListKey(LOWORD(wparam));
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return ::DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

// -2: the key is handled; -1: the list box does what it always does.
LRESULT Form1::OnListKey(WORD key) {
  if (key != 'C' || ::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_MENU) < 0) return -1;
  CopyResults();
  return -2;
}

void Form1::OnDestroy() {
  // Nothing is saved, so nothing is lost: the work stops where it is.
  if (long_work_) long_work_->Abandon();
  NameListsForScreenReaders({control(Control::List1), control(Control::List2)}, false);
  List1.SetView(nullptr);
  List2.SetView(nullptr);
  ::PostQuitMessage(0);
}

void Form1::OnCreate() {
  long_work_.emplace(hwnd_);
  dpi_ = DpiForWindow(hwnd_);
  // Set on the window rather than the class: WM_GETICON then answers for
  // it, which is how the taskbar and other programs ask.
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadAppIcon(instance, SM_CXICON)));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadAppIcon(instance, SM_CXSMICON)));
  CreateControls();
  tips_.emplace(hwnd_, std::initializer_list<HWND>{control(Control::List1), control(Control::List2)},
                [this](HWND list_box, RowIndex row) { return RowTip(list_box, row); });
  status_.emplace(hwnd_, StatusRowId(0), *tips_);
  ApplyFont();
  LayOutControls();

  list1_view_.emplace(List1, control(Control::List1));
  list2_view_.emplace(List2, control(Control::List2), &List1);
  List1.SetView(&*list1_view_);
  List2.SetView(&*list2_view_);
  // The paired lists have one selection, List1's: the label list shows it
  // too, on a blank row where the label is still to come, so that its keys
  // move on from the row the user sees.
  List1.SetSelectionHandler([this] { list2_view_->CurrentRowChanged(List1.CurrentRow()); });
  Command2.OnEnabledChanged([this](bool) { ShowWhatCanAct(); });
  tips_->SetDpi(dpi_);
  ShowAnalyseTip();
  ShowStatus();
  // Dropping works for a program run as a normal user; an elevated one
  // would need message-filter holes for a drop from Explorer, which it does
  // not open.
  ::DragAcceptFiles(hwnd_, TRUE);
  NameListsForScreenReaders({control(Control::List1), control(Control::List2)}, true);
}

void Form1::CreateControls() {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  for (const ControlSpec& entry : kForm1Controls) {
    controls_[static_cast<std::size_t>(entry.control)] =
        ::CreateWindowExW(entry.ex_style, entry.window_class, entry.caption, entry.style, 0, 0, 0, 0, hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(entry.control))), instance, nullptr);
  }
}

void Form1::ApplyFont() {
  const LOGFONTW logfont = MessageFontForDpi(dpi_);
  unique_font font(::CreateFontIndirectW(&logfont));
  for (HWND child : controls_) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  // An owner-drawn box keeps the row height it was created with, whatever
  // font it is given; row i stands beside row i only at the file list's.
  ::SendMessageW(control(Control::List2), LB_SETITEMHEIGHT, 0,
                 ::SendMessageW(control(Control::List1), LB_GETITEMHEIGHT, 0, 0));
  status_->SetFont(font.get(), dpi_);
  // The old font is deleted only now that no control uses it.
  font_ = std::move(font);
}

void Form1::LayOutControls() const {
  for (const ControlSpec& entry : kForm1Controls) {
    // Scale the edges rather than the sizes, so that neighbours still meet
    // exactly at any DPI.
    const int left = TwipsToPixels(entry.rect.left, dpi_);
    const int top = TwipsToPixels(entry.rect.top, dpi_);
    const int right = TwipsToPixels(entry.rect.left + entry.rect.width, dpi_);
    const int bottom = TwipsToPixels(entry.rect.top + entry.rect.height, dpi_);
    ::MoveWindow(control(entry.control), left, top, right - left, bottom - top, TRUE);
  }
}

// The design's size, and the status bar below the design.
SIZE Form1::OuterSize() const noexcept {
  return {TwipsToPixels(kOuterWidthTwips, dpi_), TwipsToPixels(kOuterHeightTwips, dpi_) + status_->Height()};
}

// The size lock. Holding the size here, before a change happens, covers a
// dragged edge, a programmatic SetWindowPos and a maximise alike, with no
// flicker and no nested resize. A minimised window is left alone.
void Form1::OnWindowPosChanging(WINDOWPOS& pos) const noexcept {
  if ((pos.flags & SWP_NOSIZE) || ::IsIconic(hwnd_)) return;
  const SIZE outer = OuterSize();
  pos.cx = outer.cx;
  pos.cy = outer.cy;
}

void Form1::OnGetMinMaxInfo(MINMAXINFO& info) const noexcept {
  const SIZE outer = OuterSize();
  info.ptMaxSize = {outer.cx, outer.cy};
  info.ptMinTrackSize = info.ptMaxTrackSize = info.ptMaxSize;
}

void Form1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  ApplyFont();
  LayOutControls();
  const SIZE outer = OuterSize();
  ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  // Also where the new size is the old one, and no WM_SIZE comes.
  status_->Place();
  tips_->SetDpi(dpi_);
  ShowAnalyseTip();
  // Every control moved and grew at once: the group boxes' old edges, under
  // controls that now stand there, would stay on screen where only the
  // uncovered parts of the window are erased.
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Form1::ShowAnalyseTip() {
  const HWND button = control(Control::Command2);
  RECT area;
  ::GetWindowRect(button, &area);
  ::MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&area), 2);
  // A disabled button gets no mouse messages, and so no tip of its own: the
  // tip is the area's. Greyed for the pass that ran, not for work under way.
  std::wstring tip;
  if (PassUsed() && !long_work_->Running())
    tip = (long_work_->state().pass_stopped ? L"分析已停止。" : L"") + std::wstring(kOnePassEachRun) + L"。";
  tips_->SetAreaTip(ControlId(Control::Command2), area, tip.c_str());
}

std::wstring Form1::RowTip(HWND list_box, RowIndex row) const {
  if (list_box == control(Control::List1)) {
    const std::wstring* path = List1.GetPath(row);
    return path ? *path : std::wstring();
  }
  // Whose label it is, the label whole (the list may cut it), and what it says.
  const std::optional<std::wstring_view> name = List1.GetRow(row);
  const std::optional<std::wstring_view> label = List2.GetRow(row);
  if (!name || !label) return {};
  // An empty or unreadable file's note says more than its label's meaning;
  // a file without a mark has both its label's and what its bytes hold.
  const std::wstring note = Note(row);
  const bool noted = findings_.notes.contains(row);
  return std::wstring(*name) + L"\n" + std::wstring(*label) + L"\n" +
         (noted ? note : std::wstring(LabelMeaning(*label)) + (note.empty() ? L"" : L"\n" + note));
}

std::wstring Form1::Note(RowIndex row) const {
  const auto found = findings_.notes.find(row);
  if (found == findings_.notes.end()) return std::wstring(ContentText(findings_.Content(row)));
  const ReadFailure& failure = found->second;
  if (failure.kind == FailureKind::kOther) return SystemMessage(failure.system_error);
  return std::wstring(FailureText(failure.kind));
}

// A plain window does not remember which control had the focus, as a dialog
// does; without this, switching away and back leaves the keyboard nowhere.
void Form1::OnActivate(bool active) {
  if (!active) {
    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd_, focus)) focus_before_deactivation_ = focus;
    return;
  }
  HWND target = focus_before_deactivation_;
  if (!target || !::IsWindow(target) || !::IsWindowEnabled(target)) target = control(Control::List1);
  ::SetFocus(target);
}

void Form1::OnCommand(int id, int code) {
  if (id == ControlId(Control::Command1) && code == BN_CLICKED) return ChooseFiles();
  if (id == ControlId(Control::Command2) && code == BN_CLICKED) return AnalyseFiles();
  if (id == ControlId(Control::Command4) && code == BN_CLICKED) return ClearData();
  if (id == ControlId(Control::Command6) && code == BN_CLICKED) {
    ::DestroyWindow(hwnd_);
    return;
  }
  // Esc, as IsDialogMessageW hands it over: it stops long work, and
  // otherwise presses nothing.
  if (id == IDCANCEL && long_work_->Running()) {
    long_work_->Stop();
    return OnWorkNews();
  }
  if ((id == ControlId(Control::Label1) || id == ControlId(Control::Label2)) && code == STN_CLICKED) {
    return OpenMakerSite();
  }
  if ((id == ControlId(Control::List1) || id == ControlId(Control::List2)) && code == LBN_SELCHANGE) {
    return OnListSelectionChanged(control(id == ControlId(Control::List1) ? Control::List1 : Control::List2));
  }
  // A heading is no stop for the keyboard; clicked, it hands the focus to its list.
  if (id == ControlId(Control::Command3) && code == BN_SETFOCUS) ::SetFocus(control(Control::List2));
  if (id == ControlId(Control::Command5) && code == BN_SETFOCUS) ::SetFocus(control(Control::List1));
  // The heading buttons, the frames, and the IDOK/IDCANCEL that Enter and
  // Esc produce: no response.
}

void Form1::ChooseFiles() {
  // A click on a greyed button sent by another program acts no more than the user's.
  if (!WhatCanAct(long_work_->state(), PassUsed()).choose) return;
  std::vector<ChosenFile> files = ChooseTxtFiles(hwnd_, last_folder_);
  // The dialog's own loop handled what was posted meanwhile: a drop, or
  // paths from another program, may have started work on the lists. The
  // choice then waits for it, as paths handed over during work do.
  if (long_work_->Running()) {
    for (ChosenFile& file : files) handed_over_.push_back(std::move(file.path));
    return;
  }
  AppendChosenFiles(std::move(files));
}

void Form1::AppendChosenFiles(std::vector<ChosenFile> files) {
  if (files.empty()) return;
  repeated_ = 0;
  {
    const ListBoxView::Batch batch(*list1_view_);
    ListNewFiles(files);
  }
  ShowUnlabelledRows();
  AlignLabelsWithFiles();
  long_work_->ForgetWalk();
  copied_.clear();
  ShowStatus();
}

void Form1::ListNewFiles(std::vector<ChosenFile>& files) {
  for (ChosenFile& file : files) {
    if (listed_.Add(List1, file.path)) {
      List1.AppendRow(std::move(file.name), std::move(file.path));
    } else {
      ++repeated_;
    }
  }
}

void Form1::ShowUnlabelledRows() { list2_view_->PadTo(List1.RowCount()); }

void Form1::AppendDroppedFiles(HDROP drop) {
  const unique_drop owner(drop);
  AppendPaths(DroppedPaths(drop));
}

void Form1::AppendPaths(std::vector<std::wstring> paths) {
  // A start without paths, the usual start, is no walk: no flash of grey
  // buttons and of the busy cursor.
  if (paths.empty()) return;
  if (long_work_->Running()) {
    handed_over_.insert(handed_over_.end(), paths.begin(), paths.end());
    return;
  }
  repeated_ = 0;
  long_work_->StartWalk(std::move(paths), seams_.walk);
  ShowWhatCanAct();
  copied_.clear();
  ShowStatus();
}

void Form1::AnalyseFiles() {
  if (!WhatCanAct(long_work_->state(), PassUsed()).analyse) return;
  follow_pass_ = true;
  repeated_ = 0;
  long_work_->StartPass(List1, List2, Command2, seams_.read_ahead, seams_.read);
  // The lists as they stand are where the pass starts from, not a scroll of the user's.
  AlignLabelsWithFiles();
  copied_.clear();
  ShowStatus();
}

void Form1::OnWorkNews() {
  // A scroll that the lists have not painted yet is the user's all the same:
  // the batch must not pull the selection back from it.
  if (KeepListsSideBySide(control(Control::List1)) || KeepListsSideBySide(control(Control::List2))) {
    follow_pass_ = false;
  }
  WorkNews news = long_work_->Take();
  if (!news.labels.empty() || !news.files.empty()) {
    // One repaint for the batch, when the batches end.
    const ListBoxView::Batch list1_batch(*list1_view_), list2_batch(*list2_view_);
    LabelRows(List1, List2, news.labels, follow_pass_);
    findings_.contents.insert(findings_.contents.end(), news.contents.begin(), news.contents.end());
    findings_.notes.merge(news.notes);
    ListNewFiles(news.files);
    ShowUnlabelledRows();
  }
  // The pass's selection has scrolled the lists, the walk has lengthened
  // them, a stop or a clear has emptied them: the labels follow now, not at
  // the next paint, so that no frame shows them apart.
  AlignLabelsWithFiles();
  if (news.ended == WorkNews::Ended::kWalk && long_work_->state().listed > 0) {
    // The Open dialog opens next where these files are, as it does after a choice.
    const std::wstring& last = *List1.GetPath(List1.RowCount() - 1);
    last_folder_ = last.substr(0, last.find_last_of(L"\\/") + 1);
  }
  if (news.ended != WorkNews::Ended::kNone) {
    ShowWhatCanAct();
    copied_.clear();
  }
  if (news.status_due) ShowStatus();
  if (news.ended != WorkNews::Ended::kNone && !handed_over_.empty()) AppendPaths(std::exchange(handed_over_, {}));
}

void Form1::OnNoTextProgram() {
  // The box's own loop handles what comes meanwhile, a second answer of the
  // shell's too: one box says it.
  if (saying_no_text_program_) return;
  saying_no_text_program_ = true;
  SayNoTextProgram(hwnd_);
  saying_no_text_program_ = false;
}

void Form1::OnEndSession(bool ending) {
  // A logoff that another program cancelled changes nothing here.
  if (ending) ::DestroyWindow(hwnd_);
}

void Form1::ShowWhatCanAct() {
  const CanAct can = WhatCanAct(long_work_->state(), PassUsed());
  const std::pair<Control, bool> buttons[] = {
      {Control::Command1, can.choose}, {Control::Command2, can.analyse}, {Control::Command4, can.clear}};
  for (const auto& [which, enabled] : buttons) {
    const HWND button = control(which);
    // A disabled window keeps the keyboard focus it had, leaving Tab
    // nowhere to start from; hand the focus on first.
    if (!enabled && ::GetFocus() == button) ::SetFocus(::GetNextDlgTabItem(hwnd_, button, FALSE));
    ::EnableWindow(button, enabled);
  }
  // Explorer shows "no entry" over a window that takes no drop.
  ::DragAcceptFiles(hwnd_, can.drop);
  ShowAnalyseTip();
}

// The arrow with the small hourglass, as Explorer shows while it works in
// the background: the window answers, and the work goes on.
bool Form1::OnSetCursor(WORD hit) const {
  if (hit != HTCLIENT || !long_work_->Running()) return false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  return true;
}

void Form1::SelectNextWithLabel(std::wstring_view label) {
  const RowIndex row = NextRowWithLabel(List2, findings_, List1.CurrentRow(), label);
  // List1's selection handler mirrors it into List2, and the boxes scroll it into view.
  if (row != kNoRow) (void)List1.SelectRow(row);
}

void Form1::CopyResults() {
  Copy(ResultsCopy(List1, List2, [this](RowIndex row) { return Note(row); }));
}

void Form1::Copy(ClipboardCopy copy) {
  // Like the greyed menu item: nothing to copy leaves the clipboard alone.
  if (copy.text.empty()) return;
  // Another program may hold the clipboard open for a moment.
  copied_ =
      CopyTextToClipboard(hwnd_, copy.text) ? std::move(copy.said) : L"没有复制：剪贴板正被其他程序使用，请再试一次";
  ShowStatus();
}

void Form1::ShowStatus() {
  const WorkState& work = long_work_->state();
  const BatchState batch = {.files = List1.RowCount(),
                            .analysed = List2.RowCount(),
                            .pass_used = PassUsed(),
                            .current = List1.GetRow(work.done).value_or(L""),
                            .copied = copied_,
                            .repeated = repeated_,
                            .now_ms = static_cast<std::int64_t>(::GetTickCount64())};
  counts_ = batch.pass_used && !work.passing ? CountLabels(List2, findings_) : std::vector<LabelCount>{};
  if (status_->Show(StatusText(batch, work), counts_)) FollowStatusBarHeight();
}

// The bar grew or shrank by its row of details: the window's bottom edge
// follows, and the window rises where that would leave the screen. A
// minimised window takes the size the lock gives it when it is restored.
void Form1::FollowStatusBarHeight() {
  if (::IsIconic(hwnd_)) return;
  const SIZE outer = OuterSize();
  RECT now{};
  ::GetWindowRect(hwnd_, &now);
  const RECT work = WorkAreaOf(hwnd_, MONITOR_DEFAULTTONEAREST);
  const LONG top = std::max(work.top, std::min(now.top, work.bottom - outer.cy));
  ::SetWindowPos(hwnd_, nullptr, now.left, top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  // The rows moved before the window grew under them: the new strip was
  // erased after they had painted there.
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Form1::OnNotify(const NMHDR& notification) {
  if (const std::optional<std::wstring_view> label = status_->LabelClicked(notification)) SelectNextWithLabel(*label);
}

void Form1::ClearData() {
  if (!WhatCanAct(long_work_->state(), PassUsed()).clear) return;
  List1.ClearRows();
  List2.ClearRows();
  findings_ = {};
  listed_.Clear();
  repeated_ = 0;
  AlignLabelsWithFiles();
  long_work_->ForgetWalk();
  copied_.clear();
  ShowStatus();
}

void Form1::OpenMakerSite() const { OpenWebAddress(kMakerSiteUrl); }

// A list box scrolled by the wheel, its scroll bar or a key tells its parent
// nothing, but it asks the parent for its colours whenever it paints, and
// every scroll paints. So the other list follows here: as often as the lists
// are drawn (four times a second in a pass), never once per row. A scroll
// that this did not make is the user's, or a selection's.
bool Form1::KeepListsSideBySide(HWND painted) {
  const std::array<HWND, 2> lists = {control(Control::List1), control(Control::List2)};
  const std::size_t self = painted == lists[0] ? 0 : 1;
  const LRESULT top = ::SendMessageW(painted, LB_GETTOPINDEX, 0, 0);
  if (painted != lists[self] || top == top_rows_[self]) return false;
  top_rows_[self] = top;
  ::SendMessageW(lists[1 - self], LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  top_rows_[1 - self] = ::SendMessageW(lists[1 - self], LB_GETTOPINDEX, 0, 0);
  tips_->ListsScrolled();
  return true;
}

void Form1::AlignLabelsWithFiles() {
  top_rows_[0] = ::SendMessageW(control(Control::List1), LB_GETTOPINDEX, 0, 0);
  ::SendMessageW(control(Control::List2), LB_SETTOPINDEX, static_cast<WPARAM>(top_rows_[0]), 0);
  top_rows_[1] = ::SendMessageW(control(Control::List2), LB_GETTOPINDEX, 0, 0);
  tips_->ListsScrolled();
}

// A click or a key in either list selects that row of List1, labelled or
// not; List1's handler shows it in the label list.
void Form1::OnListSelectionChanged(HWND list_box) {
  const auto selected = static_cast<RowIndex>(::SendMessageW(list_box, LB_GETCURSEL, 0, 0));
  follow_pass_ = false;
  (void)List1.SelectRow(selected);
  // The model is the truth: if it refused, the boxes go back to it.
  list1_view_->Refresh();
  list2_view_->Refresh();
}

}  // namespace kavren::win32
