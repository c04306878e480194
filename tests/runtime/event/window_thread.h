// A runtime thread that runs windows for a test: the test's thread plays the user (input.h)
// and reads what the windows' loops saw.
#ifndef TESTS_RUNTIME_EVENT_WINDOW_THREAD_H_
#define TESTS_RUNTIME_EVENT_WINDOW_THREAD_H_

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "tests/runtime/event/event_test_util.h"

namespace rt::testing {

inline constexpr int kQuitEvent = 0x7FF;

// Opens the windows `setup` makes (in order, so the last is the top one) and runs the loop of
// the top window, logging every event as "Event(field)" (plus what `describe` adds) until the
// test ends it. `describe` runs inside the loop, on the runtime thread.
class WindowThread {
 public:
  using Setup = std::function<std::vector<std::shared_ptr<Window>>()>;
  using Describe = std::function<std::string(Window& top)>;

  explicit WindowThread(Setup setup, Describe describe = {}) {
    id_ = Start([this, setup = std::move(setup), describe = std::move(describe)] {
      windows_ = setup();
      for (const auto& w : windows_) EXPECT_TRUE(Open(w->ref()).ok());
      ready_ = true;
      Window& top = *windows_.back();
      while (Accept(top.ref())) {
        if (Event() == kQuitEvent) break;
        std::string line = CurrentEvent();
        if (describe) line += describe(top);
        log_.Add(line);
      }
    });
    while (!ready_) std::this_thread::yield();
    EXPECT_TRUE(WaitUntilIdle(kWait).ok()) << DescribeThreads();
  }
  ~WindowThread() {
    Post(kQuitEvent, 0, id_);
    EXPECT_TRUE(WaitForThreadEnd(id_, kWait));
  }

  ThreadId id() const { return id_; }
  Window& window(size_t i) { return *windows_.at(i); }
  // The log since the last call, after the runtime has become idle.
  std::vector<std::string> Take() {
    EXPECT_TRUE(WaitUntilIdle(kWait).ok()) << DescribeThreads();
    std::vector<std::string> lines = log_.lines();
    std::vector<std::string> fresh(lines.begin() + static_cast<long>(taken_), lines.end());
    taken_ = lines.size();
    return fresh;
  }

 private:
  ThreadId id_ = 0;
  std::atomic<bool> ready_{false};
  std::vector<std::shared_ptr<Window>> windows_;
  Log log_;
  size_t taken_ = 0;
};

}  // namespace rt::testing

#endif  // TESTS_RUNTIME_EVENT_WINDOW_THREAD_H_
