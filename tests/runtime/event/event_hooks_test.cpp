#include "runtime/event/event_hooks.h"

#include <gtest/gtest.h>

#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "tests/runtime/event/event_test_util.h"

namespace rt {
namespace {

using testing::MakeWindow;
using testing::RunOnThread;

constexpr int kPing = 0x3F0;

TEST(EventHooksTest, RunInOrderBeforeTheLoopSeesTheEventAndMayRemoveThemselves) {
  RunOnThread([] {
    auto w = MakeWindow("Hooked");
    ASSERT_TRUE(Open(w->ref()).ok());
    std::vector<std::string> seen;
    HookId once = 0, removed = 0;
    AddEventHook(w->ref(), kPing,
                 [&](int event, int) { seen.push_back("first " + event::EventName(event)); });
    once = AddEventHook(w->ref(), kPing, [&](int, int) {
      seen.push_back("once");
      RemoveEventHook(once);
      RemoveEventHook(removed);  // removed before its turn: it does not run
    });
    removed = AddEventHook(w->ref(), kPing, [&](int, int) { seen.push_back("removed"); });
    ASSERT_NE(once, 0u);
    Post(kPing);
    Post(kPing);
    Post(event::kCloseWindow);
    while (Accept(w->ref())) {
      seen.push_back("loop " + event::EventName(Event()));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"loop OpenWindow", "loop GainFocus", "first 0x3F0",
                                              "once", "loop 0x3F0", "first 0x3F0", "loop 0x3F0",
                                              "loop CloseWindow"}));
  });
}

TEST(EventHooksTest, OnlyTheOwnerThreadHooksAnOpenWindow) {
  RunOnThread([] {
    auto w = MakeWindow("Owned");
    const auto noop = [](int, int) {};
    EXPECT_NE(AddEventHook(w->ref(), kPing, noop), 0u);  // created for this thread
    EXPECT_EQ(AddEventHook(w->ref(), kPing, nullptr), 0u);
    EXPECT_EQ(AddEventHook(987654, kPing, noop), 0u);
    const WindowRef ref = w->ref();
    RunOnThread([ref, noop] { EXPECT_EQ(AddEventHook(ref, kPing, noop), 0u); });
  });
  EXPECT_EQ(AddEventHook(1, kPing, [](int, int) {}), 0u);  // not a runtime thread
}

}  // namespace
}  // namespace rt
