// test_main.cpp: GoogleTest's main, with a deadline on every test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// The slowest test takes about 6 s under Wine; a hang fails well within ctest's own timeout.
constexpr std::chrono::seconds kTestLimit{30};

// Under Wine a fault inside a window procedure is swallowed and the message
// returns, so a handler that faults before it posts its quit leaves a loop
// waiting for ever; so does a pass whose workers never answer. A watcher
// thread ends the program when a test outlives its deadline, naming it.
class TestDeadline : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& test) override {
    watcher_ = std::jthread([name = std::string(test.test_suite_name()) + "." + test.name()](std::stop_token stop) {
      const auto end = std::chrono::steady_clock::now() + kTestLimit;
      while (std::chrono::steady_clock::now() < end) {
        if (stop.stop_requested()) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      std::fprintf(stderr, "\nFAILED: %s still running at its deadline\n", name.c_str());
      std::_Exit(1);
    });
  }
  void OnTestEnd(const ::testing::TestInfo&) override { watcher_ = {}; }

  std::jthread watcher_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new TestDeadline);
  return RUN_ALL_TESTS();
}
