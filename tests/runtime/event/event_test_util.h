// Helpers for the event tests: run code on a runtime thread, build small windows.
#ifndef TESTS_RUNTIME_EVENT_EVENT_TEST_UTIL_H_
#define TESTS_RUNTIME_EVENT_EVENT_TEST_UTIL_H_

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/idle.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt::testing {

inline constexpr std::chrono::seconds kWait{10};

// Runs `fn` on a new runtime thread and waits for it to end.
inline void RunOnThread(std::function<void()> fn) {
  const ThreadId id = Start(std::move(fn));
  ASSERT_NE(id, 0);
  ASSERT_TRUE(WaitForThreadEnd(id, kWait)) << DescribeThreads();
}

// A window for the calling runtime thread at (x, y) with the given size, in pixels.
inline std::shared_ptr<Window> MakeWindow(const std::string& label, int x = 0, int y = 0,
                                          int width = 400, int height = 300) {
  auto w = OpenWindow(CurrentThread(), label);
  w->Set(0, prop::kPixels, 1);
  w->Set(0, prop::kXPos, x);
  w->Set(0, prop::kYPos, y);
  w->Set(0, prop::kWidth, width);
  w->Set(0, prop::kHeight, height);
  return w;
}

inline void AddControl(Window& w, int feq, ControlType type, const std::string& label, int x, int y,
                       int width, int height, int parent = 0, VarRef var = {}) {
  ControlSpec control;
  control.feq = feq;
  control.type = type;
  control.label = label;
  control.parent = parent;
  control.var = var;
  ASSERT_TRUE(w.AddControl(control).ok()) << label;
  w.Set(feq, prop::kXPos, x);
  w.Set(feq, prop::kYPos, y);
  w.Set(feq, prop::kWidth, width);
  w.Set(feq, prop::kHeight, height);
}

// A thread-safe log of lines.
class Log {
 public:
  void Add(std::string line) {
    std::lock_guard lock(mu_);
    lines_.push_back(std::move(line));
  }
  std::vector<std::string> lines() const {
    std::lock_guard lock(mu_);
    return lines_;
  }

 private:
  mutable std::mutex mu_;
  std::vector<std::string> lines_;
};

// "Name(field)" for the current event.
inline std::string CurrentEvent() {
  return event::EventName(Event()) + "(" + std::to_string(Field()) + ")";
}

}  // namespace rt::testing

#endif  // TESTS_RUNTIME_EVENT_EVENT_TEST_UTIL_H_
