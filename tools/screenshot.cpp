// screenshot.cpp: takes the README's picture -- the real program after choosing six files, analysing them, clicking
// a label and resting the mouse on the next, whose tooltip shows.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/gui_support.h"
#include "support/temp_dir.h"

using namespace kavren::testing;

namespace {

// Saves what the screen shows of `window` as a 24-bit BMP.
bool SaveWindowImage(HWND window, const std::wstring& path) {
  RECT rect;
  ::GetWindowRect(window, &rect);
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
  TempDir folder;
  std::wstring typed;
  const std::pair<const wchar_t*, std::vector<unsigned char>> files[] = {
      {L"第一章 风起.txt", {0xEF, 0xBB, 0xBF, 0xE9}}, {L"第二章 云涌.txt", {0xFF, 0xFE, 0x2C, 0x7B}},
      {L"第三章.txt", {0xFE, 0xFF, 0x7B, 0x2C}},      {L"后记.txt", {0xBA, 0xF3, 0xBC, 0xC7}},
      {L"目录.txt", {0xEF, 0xBB, 0xBF, 0x31}},        {L"readme.txt", {'r', 'e', 'a', 'd'}}};
  for (const auto& [name, bytes] : files) {
    folder.Write(name, bytes);
    typed += L"\"" + std::wstring(name) + L"\" ";
  }

  const PROCESS_INFORMATION app = Start(L"\"" + ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe\"");
  if (!app.hProcess) return 1;
  HWND form = nullptr;
  PumpUntil(nullptr, 30s, [&] {
    const auto found = VisibleTopLevelWindows(app.dwProcessId, kavren::win32::kForm1ClassName);
    return (form = found.empty() ? nullptr : found.front()) != nullptr;
  });
  auto control = [&](Control which) { return ::GetDlgItem(form, kavren::win32::ControlId(which)); };
  bool ok = form != nullptr;
  if (ok) {
    auto driver = DriveOpenDialog({folder.Wide(L""), typed}, app.dwProcessId);
    ::PostMessageW(control(Control::Command1), BM_CLICK, 0, 0);
    ok = driver.get().empty() &&
         PumpUntil(nullptr, 10s, [&] { return ::SendMessageW(control(Control::List1), LB_GETCOUNT, 0, 0) == 6; });
  }
  if (ok) {
    ::PostMessageW(control(Control::Command2), BM_CLICK, 0, 0);
    ok = PumpUntil(nullptr, 10s, [&] { return !::IsWindowEnabled(control(Control::Command2)); });
    const HWND list2 = control(Control::List2);
    RECT item;
    ::SendMessageW(list2, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    ::PostMessageW(list2, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(list2, WM_LBUTTONUP, 0, at);
    // The mouse then rests on the next row, an "ANSI" one, and its tooltip shows.
    POINT rest = {item.left + 30, item.bottom + (item.bottom - item.top) / 2};
    ::ClientToScreen(list2, &rest);
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
