// link_recorder.cpp: stands in for the web browser and notes how the shell started it.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int show) {
  // The shell quotes %1; the address is ASCII.
  if (FILE* out = std::fopen("link_recorder.log", "ab")) {
    std::fprintf(out, "show=%d args=%ls\n", show, command_line);
    std::fclose(out);
  }
  return 0;
}
