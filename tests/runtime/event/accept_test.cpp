#include "runtime/event/accept.h"

#include <gtest/gtest.h>

#include <atomic>

#include "runtime/event/os_window.h"
#include "tests/runtime/event/event_test_util.h"

namespace rt {
namespace {

using testing::CurrentEvent;
using testing::kWait;
using testing::Log;
using testing::MakeWindow;
using testing::RunOnThread;

constexpr int kPing = 0x3FF;
constexpr int kQuit = 0x400;

// Two runtime threads, one window each: each posts to the other and sees the other's events
// in its own loop, with their fields.
TEST(AcceptTest, WindowsOnTwoThreadsSeeEventsPostedAcrossInTheirOwnLoops) {
  Log log_a, log_b;
  std::atomic<ThreadId> a{0}, b{0};
  std::atomic<int> ready{0};
  auto body = [&](const char* name, Log& log, std::atomic<ThreadId>& self,
                  std::atomic<ThreadId>& other) {
    self = CurrentThread();
    auto w = MakeWindow(name);
    ASSERT_TRUE(Open(w->ref()).ok());
    ++ready;
    while (ready < 2) std::this_thread::yield();
    ASSERT_TRUE(Post(kPing, self == a ? 1 : 2, other));
    while (Accept(w->ref())) {
      if (Event() == kPing || Event() == kQuit) log.Add(CurrentEvent());
      if (Event() == kPing) Post(kQuit, 0, CurrentThread());
      if (Event() == kQuit) break;
    }
    Close(w->ref());
  };
  const ThreadId ta = Start([&] { body("A", log_a, a, b); });
  const ThreadId tb = Start([&] { body("B", log_b, b, a); });
  ASSERT_TRUE(WaitForThreadEnd(ta, kWait));
  ASSERT_TRUE(WaitForThreadEnd(tb, kWait));
  EXPECT_EQ(log_a.lines(), (std::vector<std::string>{"0x3FF(2)", "0x400(0)"}));
  EXPECT_EQ(log_b.lines(), (std::vector<std::string>{"0x3FF(1)", "0x400(0)"}));
}

// A window opened from an event handler runs a nested loop: it receives the thread's events
// while the loop below waits; the window below gets its own (focus) events back afterwards.
TEST(AcceptTest, NestedWindowReceivesEventsWhileTheOneBelowWaits) {
  Log log;
  RunOnThread([&] {
    auto outer = MakeWindow("Outer");
    ASSERT_TRUE(Open(outer->ref()).ok());
    Post(kPing, 1);
    while (Accept(outer->ref())) {
      log.Add("outer " + CurrentEvent());
      if (Event() == kPing) {
        auto inner = MakeWindow("Inner");
        ASSERT_TRUE(Open(inner->ref()).ok());
        EXPECT_EQ(ThreadWindows(), (std::vector<WindowRef>{outer->ref(), inner->ref()}));
        Post(kPing, 2);
        while (Accept(inner->ref())) {
          log.Add("inner " + CurrentEvent());
          if (Event() == kPing) Post(event::kCloseWindow);
        }
        EXPECT_EQ(FindWindow(inner->ref()), nullptr) << "the close request closed it";
        EXPECT_EQ(Event(), kPing) << "the outer loop's event is current again";
        Post(kQuit, 3);
      }
      if (Event() == kQuit) break;
    }
    Close(outer->ref());
  });
  EXPECT_EQ(log.lines(), (std::vector<std::string>{
                             "outer OpenWindow(0)",
                             "outer GainFocus(0)",
                             "outer 0x3FF(1)",
                             "inner OpenWindow(0)",
                             "inner GainFocus(0)",
                             "inner 0x3FF(2)",
                             "inner CloseWindow(0)",
                             // The outer window lost the focus to the inner one and got it
                             // back; the stale lose-focus is dropped.
                             "outer GainFocus(0)",
                             "outer 0x400(3)",
                         }));
}

TEST(AcceptTest, AWindowThatRefusesItsCloseRequestStaysOpen) {
  Log log;
  RunOnThread([&] {
    auto w = MakeWindow("Form");
    ASSERT_TRUE(Open(w->ref()).ok());
    Post(event::kCloseWindow);
    int closes = 0;
    while (Accept(w->ref())) {
      if (Event() != event::kCloseWindow) continue;
      log.Add(CurrentEvent());
      if (++closes == 1) {
        Cycle();  // refuse
        Post(event::kCloseWindow);
      }
      EXPECT_FALSE(w->closed());
    }
    EXPECT_TRUE(w->closed());
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(Accept(w->ref())) << "a closed window's loop stays ended";
  });
  EXPECT_EQ(log.lines().size(), 2u);
}

TEST(AcceptTest, CloseDownReachesEveryWindowOfEveryThread) {
  std::atomic<int> open{0};
  Log log;
  auto body = [&](const char* name) {
    auto w = MakeWindow(name);
    ASSERT_TRUE(Open(w->ref()).ok());
    ++open;
    while (Accept(w->ref())) {
      if (Event() == event::kCloseDown) log.Add(std::string(name) + " " + CurrentEvent());
    }
  };
  const ThreadId a = Start([&] { body("A"); });
  const ThreadId b = Start([&] { body("B"); });
  while (open < 2) std::this_thread::yield();
  ASSERT_TRUE(WaitUntilIdle(kWait).ok());
  RequestCloseDown();
  ASSERT_TRUE(WaitForThreadEnd(a, kWait));
  ASSERT_TRUE(WaitForThreadEnd(b, kWait));
  std::vector<std::string> lines = log.lines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"A CloseDown(0)", "B CloseDown(0)"}));
}

TEST(AcceptTest, OpenRefusesWhatIsNotItsToOpen) {
  auto foreign = OpenWindow(0, "Foreign");
  EXPECT_FALSE(Open(foreign->ref()).ok()) << "not on a runtime thread";
  RunOnThread([&] {
    EXPECT_EQ(Open(foreign->ref()).code(), Status::Code::kInvalidArgument);
    auto w = MakeWindow("Mine");
    EXPECT_TRUE(Open(w->ref()).ok());
    EXPECT_EQ(Open(w->ref()).code(), Status::Code::kAlreadyExists);
    EXPECT_EQ(FocusedWindow(), w->ref());
    Close(w->ref());
    EXPECT_EQ(Open(w->ref()).code(), Status::Code::kNotFound);
    EXPECT_FALSE(Accept(w->ref()));
  });
  CloseWindow(foreign->ref());
}

// Accept-all: every input control is accepted in tab order, then completed; a blank required
// control or a handler that selects a control ends the mode without completion.
TEST(AcceptTest, AcceptAllChecksEveryControlAndCompletes) {
  struct Case {
    const char* name;
    std::string second_contents;
    bool second_required;
    bool reject_first;  // the handler selects the first control again
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"all pass", "x", true, false, {"Accepted(1)", "Accepted(3)", "Completed(0)"}},
      {"required blank", "  ", true, false, {"Accepted(1)", "Rejected(3)"}},
      {"handler rejects", "x", false, true, {"Accepted(1)"}},
  };
  for (const Case& c : cases) {
    Log log;
    RunOnThread([&] {
      auto w = MakeWindow("Form");
      testing::AddControl(*w, 1, ControlType::kEntry, "?A", 0, 0, 50, 10);
      testing::AddControl(*w, 2, ControlType::kButton, "?OK", 0, 20, 50, 10);
      testing::AddControl(*w, 3, ControlType::kEntry, "?B", 0, 40, 50, 10);
      w->SetContents(3, c.second_contents);
      w->Set(3, prop::kRequired, c.second_required ? 1 : 0);
      ASSERT_TRUE(Open(w->ref()).ok());
      w->Select(2);
      Post(kPing);
      while (Accept(w->ref())) {
        if (Event() == kPing) {
          w->Set(0, prop::kAcceptAll, 1);
          Post(kQuit);  // taken only after the accept-all run
          continue;
        }
        if (Event() == kQuit) break;
        if (Event() != event::kAccepted && Event() != event::kRejected &&
            Event() != event::kCompleted) {
          continue;
        }
        log.Add(CurrentEvent());
        if (c.reject_first && Field() == 1) w->Select(1);
      }
      EXPECT_EQ(w->Get(0, prop::kAcceptAll).AsInt(), 0) << c.name;
      Close(w->ref());
    });
    EXPECT_EQ(log.lines(), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace rt
