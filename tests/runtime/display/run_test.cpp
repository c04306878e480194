#include "runtime/display/run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "runtime/event/runtime_thread.h"
#include "runtime/program/halt.h"

namespace rt {
namespace {

using Kind = DisplayChoice::Kind;

TEST(RunTest, TheDisplayIsChosenBySettingThenByServer) {
  struct Case {
    std::optional<std::string> setting;
    bool server, qt;
    Kind kind;
    bool note;
  };
  const Case cases[] = {
      {std::nullopt, true, true, Kind::kQt, false},
      {std::nullopt, false, true, Kind::kHeadless, false},
      {std::nullopt, true, false, Kind::kHeadless, true},  // Qt display not built
      {"", false, true, Kind::kHeadless, false},
      {"qt", false, true, Kind::kQt, false},
      {"qt", true, false, Kind::kHeadless, true},
      {"headless", true, true, Kind::kHeadless, false},
      {"script:/tmp/a b.script", true, true, Kind::kScript, false},
      {"script:", true, true, Kind::kInvalid, true},
      {"Qt", true, true, Kind::kInvalid, true},
  };
  for (const Case& c : cases) {
    const DisplayChoice d = ChooseDisplay(c.setting, c.server, c.qt);
    const std::string name = c.setting.value_or("(unset)");
    EXPECT_EQ(d.kind, c.kind) << name;
    EXPECT_EQ(!d.note.empty(), c.note) << name << ": " << d.note;
    if (d.kind == Kind::kScript) {
      EXPECT_EQ(d.script, "/tmp/a b.script");
    }
  }
}

// Run in a fresh process (a re-executed copy of this test), so that the program's thread is
// the first runtime thread of the process.
class RunProcessTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

[[noreturn]] void RunAndExit(const char* display) {
  setenv("TWIQRT_DISPLAY", display, 1);
  const int code = Run([] {
    if (CurrentThread() != 1)
      Halt(10, "the program runs on thread " + std::to_string(CurrentThread()));
  });
  std::exit(code);
}

TEST_F(RunProcessTest, TheProgramRunsOnThreadOneAndItsEndEndsTheRun) {
  EXPECT_EXIT(RunAndExit("headless"), ::testing::ExitedWithCode(0), "");
  // The program does run, on thread 1: it ends the process with a code of its own.
  EXPECT_EXIT(
      {
        setenv("TWIQRT_DISPLAY", "headless", 1);
        rt::Run([] { Halt(CurrentThread() == 1 ? 42 : 10); });
      },
      ::testing::ExitedWithCode(42), "");
}

// Without a display server the Qt display cannot start, whether it is built in (it needs a
// server) or not (it is not part of the program): either way the program runs headless.
TEST_F(RunProcessTest, QtWithoutADisplayServerFallsBackToHeadless) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("QT_QPA_PLATFORM");
  EXPECT_EXIT(RunAndExit("qt"), ::testing::ExitedWithCode(0), "using the headless display");
}

TEST_F(RunProcessTest, AnUnknownSettingIsAClearError) {
  EXPECT_EXIT(RunAndExit("wayland"), ::testing::ExitedWithCode(kBadDisplaySettingExitCode),
              "TWIQRT_DISPLAY=wayland is not understood; use qt, headless or script:FILE");
}

TEST_F(RunProcessTest, AScriptThatCannotBeReadFails) {
  EXPECT_EXIT(RunAndExit("script:/nonexistent/x.script"), ::testing::ExitedWithCode(3),
              "cannot read script /nonexistent/x.script");
}

}  // namespace
}  // namespace rt
