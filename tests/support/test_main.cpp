// test_main.cpp: GoogleTest's main, with a deadline on every test.
#include <gtest/gtest.h>

#include <optional>

#include "support/deadline.h"

namespace {

// The slowest test takes about 6 s under Wine; a hang fails well within ctest's own timeout.
constexpr std::chrono::seconds kTestLimit{30};

class TestDeadline : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& test) override {
    deadline_.emplace(std::string(test.test_suite_name()) + "." + test.name(), kTestLimit);
  }
  void OnTestEnd(const ::testing::TestInfo&) override { deadline_.reset(); }

  std::optional<kavren::testing::Deadline> deadline_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new TestDeadline);
  return RUN_ALL_TESTS();
}
