// screenshot.cpp: takes the README's picture -- the real program handed a folder of 1,200 chapters, after analysing
// them, the mouse resting on a count of the status bar, which it clicked, and whose tooltip shows.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/gui_support.h"
#include "support/temp_dir.h"

using namespace kavren::testing;

namespace {

// Saves what the screen shows of `window`, and of its process's tooltip where
// that shows, as a 24-bit BMP.
bool SaveWindowImage(HWND window, const std::wstring& path) {
  RECT rect;
  ::GetWindowRect(window, &rect);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  for (HWND tip : VisibleTopLevelWindows(process, TOOLTIPS_CLASSW)) {
    RECT tip_rect;
    ::GetWindowRect(tip, &tip_rect);
    ::UnionRect(&rect, &rect, &tip_rect);
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, old);
  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<char> pixels(static_cast<std::size_t>((width * 3 + 3) & ~3) * height);
  const int rows =
      ::GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof info};
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file).write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return rows == height && out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring output = argc > 1 ? argv[1] : L"screenshot.bmp";
  // A novel of 1,200 chapters in one folder, handed over on the command line
  // as Explorer does for a drop on the program's icon.
  TempDir folder;
  const std::vector<unsigned char> marks[] = {{0xEF, 0xBB, 0xBF, 0xE9},
                                              {0xFF, 0xFE, 0x2C, 0x7B},
                                              {0xFE, 0xFF, 0x7B, 0x2C},
                                              {0xBA, 0xF3, 0xBC, 0xC7},
                                              {0xBA, 0xF3, 0xBC, 0xC7}};
  constexpr LRESULT kChapters = 1200;
  for (int i = 1; i <= kChapters; ++i) folder.Write(L"第" + std::to_wstring(i) + L"章 风起.txt", marks[i % 5]);

  const PROCESS_INFORMATION app =
      Start(L"\"" + ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe\" \"" + folder.Wide(L".") + L"\"");
  if (!app.hProcess) return 1;
  HWND form = nullptr;
  PumpUntil(nullptr, 30s, [&] {
    const auto found = VisibleTopLevelWindows(app.dwProcessId, kavren::win32::Form1::kClassName);
    return (form = found.empty() ? nullptr : found.front()) != nullptr;
  });
  auto control = [&](Control which) { return ::GetDlgItem(form, kavren::win32::ControlId(which)); };
  bool ok = form && PumpUntil(nullptr, 20s,
                              [&] { return ::SendMessageW(control(Control::List1), LB_GETCOUNT, 0, 0) == kChapters; });
  if (ok) {
    ::PostMessageW(control(Control::Command2), BM_CLICK, 0, 0);
    // The clear button is greyed while the pass runs, and the analyse button for good.
    ok = PumpUntil(nullptr, 20s, [&] {
      return !::IsWindowEnabled(control(Control::Command2)) && ::IsWindowEnabled(control(Control::Command4));
    });
    // The summary after the pass: a click on the last count of the status
    // bar (ANSI, the most common here) selects the first ANSI chapter, and
    // the mouse rests there, so that the count's tip shows.
    // The window may still grow by the status bar's row of details, moving the counts up.
    ::Sleep(500);
    const HWND counts = ::GetDlgItem(form, kavren::win32::StatusRowId(1));
    RECT row;
    ::GetClientRect(counts, &row);
    POINT rest = {row.right - 24, (row.top + row.bottom) / 2};
    ::PostMessageW(counts, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rest.x, rest.y));
    ::PostMessageW(counts, WM_LBUTTONUP, 0, MAKELPARAM(rest.x, rest.y));
    ::ClientToScreen(counts, &rest);
    for (int step = 0; step < 3; ++step) {
      ::SetCursorPos(rest.x + step, rest.y);
      ::Sleep(200);
    }
    ::Sleep(1500);
    ok = ok && SaveWindowImage(form, output);
    ::PostMessageW(control(Control::Command6), BM_CLICK, 0, 0);
  }
  if (::WaitForSingleObject(app.hProcess, 10'000) != WAIT_OBJECT_0) ::TerminateProcess(app.hProcess, 1);
  ::CloseHandle(app.hProcess);
  ::CloseHandle(app.hThread);
  std::printf(ok ? "screenshot: written\n" : "screenshot: the program did not go through the session\n");
  return ok ? 0 : 1;
}
