// Helpers for the Qt display tests: the offscreen platform, a program on runtime thread 1
// under a QtDisplay, and the test as its user on a thread of its own.
#ifndef TESTS_RUNTIME_DISPLAY_QT_QT_TEST_UTIL_H_
#define TESTS_RUNTIME_DISPLAY_QT_QT_TEST_UTIL_H_

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/display/qt/qt_display.h"
#include "runtime/display/qt/qt_user.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/idle.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt::testing {

inline constexpr std::chrono::seconds kWait{10};

// Qt draws into memory and keeps its runtime files in a folder of the test's own.
inline void UseOffscreenQt() {
  static std::once_flag once;
  std::call_once(once, [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char dir[] = "/tmp/twiq-qt-test-XXXXXX";
    if (mkdtemp(dir) != nullptr) {
      chmod(dir, 0700);
      setenv("XDG_RUNTIME_DIR", dir, 1);
      setenv("XDG_CACHE_HOME", dir, 1);
      setenv("XDG_CONFIG_HOME", dir, 1);
    }
  });
}

// A window for the calling runtime thread, geometry in pixels.
inline std::shared_ptr<Window> PixelWindow(const std::string& label, int width, int height) {
  auto w = OpenWindow(CurrentThread(), label);
  w->Set(0, prop::kPixels, 1);
  w->Set(0, prop::kXPos, 10);
  w->Set(0, prop::kYPos, 10);
  w->Set(0, prop::kWidth, width);
  w->Set(0, prop::kHeight, height);
  w->Set(0, prop::kText, label);
  return w;
}

inline int Add(Window& w, int feq, ControlType type, int x, int y, int width, int height,
               int parent = 0, const std::string& label = "") {
  ControlSpec control;
  control.feq = feq;
  control.type = type;
  control.label = label.empty() ? "?C" + std::to_string(feq) : label;
  control.parent = parent;
  EXPECT_TRUE(w.AddControl(control).ok()) << control.label;
  w.Set(feq, prop::kXPos, x);
  w.Set(feq, prop::kYPos, y);
  w.Set(feq, prop::kWidth, width);
  w.Set(feq, prop::kHeight, height);
  return feq;
}

// Opens `w` on the calling thread and runs its loop until it closes, handing each event to
// `handle`.
inline void Loop(const std::shared_ptr<Window>& w, const std::function<void()>& handle = {}) {
  ASSERT_TRUE(Open(w->ref()).ok());
  while (Accept(w->ref())) {
    if (handle) handle();
  }
}

// A thread-safe list of lines.
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
  void Clear() {
    std::lock_guard lock(mu_);
    lines_.clear();
  }

 private:
  mutable std::mutex mu_;
  std::vector<std::string> lines_;
};

class QtDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseOffscreenQt();
    display_ = std::make_shared<QtDisplay>(0, nullptr);
    SetDisplay(display_);
    user_ = std::make_unique<QtUser>(*display_);
  }
  void TearDown() override {
    user_.reset();
    SetDisplay(nullptr);
  }

  // Runs `program` on runtime thread 1 under the display and `user` on a thread of its own;
  // when the user is done the program is closed down.
  void Run(std::function<void()> program, std::function<void()> user) {
    program_thread_ = 0;
    std::thread u([&] {
      user();
      user_->DismissDialogs();  // a failed step may leave one open
      RequestCloseDown();
    });
    const int code = display_->Run([&] {
      program_thread_ = CurrentThread();
      program();
    });
    u.join();
    EXPECT_EQ(code, 0);
  }

  // Waits for the runtime to be idle and the display to show it.
  void Settle() {
    ASSERT_TRUE(WaitUntilIdle(kWait).ok()) << DescribeThreads();
    ASSERT_TRUE(display_->Settle().ok());
    // What the display did may have queued events (a tiled window's new size): let the
    // threads take them too.
    ASSERT_TRUE(WaitUntilIdle(kWait).ok()) << DescribeThreads();
  }

  // The window labelled `label` once its thread has opened it and the display shows it.
  WindowRef WaitForWindow(const std::string& label) {
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    while (std::chrono::steady_clock::now() < deadline) {
      for (const auto& w : OpenWindows()) {
        const std::vector<WindowRef> stack = ThreadWindows(w->owner_thread());
        if (w->label() == label && std::find(stack.begin(), stack.end(), w->ref()) != stack.end()) {
          Settle();
          return w->ref();
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << "window " << label << " did not open";
    return 0;
  }

  Image GrabOf(WindowRef ref) {
    Image image;
    EXPECT_TRUE(display_->Grab(ref, &image).ok());
    return image;
  }

  // Posts `event` to the program's thread.
  void PostToProgram(int event, int field = 0) {
    ASSERT_TRUE(Post(event, field, program_thread_.load()));
  }

  std::shared_ptr<QtDisplay> display_;
  std::unique_ptr<QtUser> user_;
  std::atomic<ThreadId> program_thread_{0};
};

}  // namespace rt::testing

#endif  // TESTS_RUNTIME_DISPLAY_QT_QT_TEST_UTIL_H_
