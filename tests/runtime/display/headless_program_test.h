// A fixture for tests that play the user of a small program on the headless display: SetUp
// installs the display, starts Program() on a runtime thread and waits until it is idle;
// TearDown closes it down and removes the display.
#ifndef TESTS_RUNTIME_DISPLAY_HEADLESS_PROGRAM_TEST_H_
#define TESTS_RUNTIME_DISPLAY_HEADLESS_PROGRAM_TEST_H_

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "runtime/display/headless/headless_display.h"
#include "runtime/display/headless/robot.h"
#include "runtime/event/runtime_thread.h"

namespace rt::testing {

class HeadlessProgramTest : public ::testing::Test {
 protected:
  // The program, on runtime thread program_; it runs its windows' loops until closed down.
  virtual void Program() = 0;

  void SetUp() override {
    HeadlessDisplay::Options o;
    o.timeout = std::chrono::seconds(5);
    display_ = std::make_shared<HeadlessDisplay>(o);
    SetDisplay(display_);
    robot_ = std::make_unique<Robot>(*display_);
    program_ = Start([this] { Program(); });
    ASSERT_TRUE(robot_->WaitIdle().ok());
  }
  void TearDown() override {
    EXPECT_TRUE(robot_->Quit().ok());
    EXPECT_FALSE(IsThreadRunning(program_));
    SetDisplay(nullptr);
  }

  std::shared_ptr<HeadlessDisplay> display_;
  std::unique_ptr<Robot> robot_;
  ThreadId program_ = 0;
};

}  // namespace rt::testing

#endif  // TESTS_RUNTIME_DISPLAY_HEADLESS_PROGRAM_TEST_H_
