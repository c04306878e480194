#include "runtime/event/runtime_thread.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <thread>

#include "runtime/event/accept.h"
#include "tests/runtime/event/event_test_util.h"

namespace rt {
namespace {

using testing::kWait;

TEST(RuntimeThreadTest, NumbersRuntimeThreadsAndOnlyThem) {
  EXPECT_EQ(CurrentThread(), 0) << "the test's own thread is not a runtime thread";
  std::atomic<ThreadId> seen_a{-1}, seen_b{-1};
  const ThreadId a = Start([&] { seen_a = CurrentThread(); });
  const ThreadId b = Start([&] { seen_b = CurrentThread(); });
  ASSERT_TRUE(WaitForThreadEnd(a, kWait));
  ASSERT_TRUE(WaitForThreadEnd(b, kWait));
  EXPECT_GT(a, 0);
  EXPECT_GT(b, a) << "numbers are given in order and never reused";
  EXPECT_EQ(seen_a, a);
  EXPECT_EQ(seen_b, b);
  EXPECT_FALSE(IsThreadRunning(a));
  EXPECT_FALSE(Post(event::kAccepted, 0, a)) << "posting to an ended thread fails";
}

size_t CurrentStackSize() {
  pthread_attr_t attr;
  size_t size = 0;
  if (pthread_getattr_np(pthread_self(), &attr) == 0) {
    pthread_attr_getstacksize(&attr, &size);
    pthread_attr_destroy(&attr);
  }
  return size;
}

TEST(RuntimeThreadTest, StackSizeIsHonouredWithAFloor) {
  struct Case {
    size_t requested;
    size_t at_least;
  };
  const Case cases[] = {
      {25000, kMinimumThreadStack},  // a host's small request is raised to the floor
      {kMinimumThreadStack + 1, kMinimumThreadStack + 1},
      {16u << 20, 16u << 20},
  };
  for (const Case& c : cases) {
    std::atomic<size_t> got{0};
    const ThreadId id = Start([&] { got = CurrentStackSize(); }, c.requested);
    ASSERT_TRUE(WaitForThreadEnd(id, kWait));
    EXPECT_GE(got.load(), c.at_least) << "requested " << c.requested;
    EXPECT_EQ(EffectiveStackSize(c.requested) % 4096, 0u);
  }
}

// Per-thread state of a system kept in thread_local objects.
std::atomic<int> g_destroyed{0};
std::atomic<int> g_hooks_seen_at_destruction{-1};
std::vector<int>* g_hook_order = nullptr;
struct PerThreadState {
  ~PerThreadState() {
    g_hooks_seen_at_destruction = static_cast<int>(g_hook_order->size());
    ++g_destroyed;
  }
  int touched = 0;
};
thread_local PerThreadState t_state;

TEST(RuntimeThreadTest, ThreadStateEndsWithTheThreadBeforeTheEndIsReported) {
  std::vector<int> order;
  g_hook_order = &order;
  g_destroyed = 0;
  const ThreadId id = Start([&] {
    t_state.touched = 1;
    EXPECT_TRUE(OnThreadExit([&] { order.push_back(1); }));
    EXPECT_TRUE(OnThreadExit([&] { order.push_back(2); }));
  });
  ASSERT_TRUE(WaitForThreadEnd(id, kWait));
  // No sleep: the end is reported only after the thread_local state was destroyed.
  EXPECT_EQ(g_destroyed, 1);
  EXPECT_EQ(order, (std::vector<int>{2, 1})) << "hooks run last registered first";
  EXPECT_EQ(g_hooks_seen_at_destruction, 2) << "hooks run before thread_local destructors";
  EXPECT_FALSE(OnThreadExit([] {})) << "not a runtime thread";
}

TEST(RuntimeThreadTest, WindowsLeftOpenCloseWithTheirThread) {
  WindowRef ref = 0;
  testing::RunOnThread([&] {
    auto w = testing::MakeWindow("Left");
    ref = w->ref();
    ASSERT_TRUE(Open(ref).ok());
  });
  EXPECT_EQ(FindWindow(ref), nullptr);
}

TEST(RuntimeThreadTest, WaitForThreadEndTimesOut) {
  std::atomic<bool> release{false};
  const ThreadId id = Start([&] {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  EXPECT_FALSE(WaitForThreadEnd(id, std::chrono::milliseconds(20)));
  EXPECT_TRUE(IsThreadRunning(id));
  release = true;
  EXPECT_TRUE(WaitForThreadEnd(id, kWait));
}

}  // namespace
}  // namespace rt
