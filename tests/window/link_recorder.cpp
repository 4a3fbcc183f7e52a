// link_recorder.cpp: stands in for the web browser in the tests and notes what the shell handed it.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  std::wstring log(MAX_PATH, L'\0');
  log.resize(::GetModuleFileNameW(nullptr, log.data(), MAX_PATH));
  log = log.substr(0, log.rfind(L'\\')) + L"\\link_recorder.log";

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoW(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

  std::wstring line = L"show=" + std::to_wstring(show) + L" args=";
  for (int i = 1; i < argc; ++i) line += (i > 1 ? L"|" : L"") + std::wstring(argv[i]);
  line += L"\n";

  std::string utf8(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, line.c_str(),
                                                                    static_cast<int>(line.size()), nullptr,
                                                                    0, nullptr, nullptr)),
                   '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
  if (FILE* out = ::_wfopen(log.c_str(), L"ab")) {
    std::fwrite(utf8.data(), 1, utf8.size(), out);
    std::fclose(out);
  }
  return 0;
}
