// test_main.cpp: runs the GoogleTest suites with file names treated as UTF-8.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>

int main(int argc, char** argv) {
#ifndef _WIN32
  // std::filesystem turns wide names into bytes through the global locale;
  // the file seam takes them as UTF-8, so the tests must too.
  std::setlocale(LC_ALL, "C.UTF-8");
  std::locale::global(std::locale("C.UTF-8"));
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
