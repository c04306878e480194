// The display follows the runtime's announcements alone: with no periodic look at the input
// state, a window put on its thread's stack appears, a nested window takes the focus from its
// owner and gives it back, and a cursor set by the program shows. Nothing here settles the
// display, which would show everything at once and hide a missing announcement.
#include <thread>

#include "runtime/window/cursors.h"
#include "tests/runtime/display_qt/qt_test_util.h"

namespace rt::testing {
namespace {

constexpr int kOpenNested = 0x3F0;
constexpr int kWaitCursor = 0x3F1;

class UntoldDisplayTest : public QtDisplayTest {
 protected:
  void SetUp() override {
    UseOffscreenQt();
    QtDisplay::Options options;
    options.recheck_interval = std::chrono::milliseconds(0);
    display_ = std::make_shared<QtDisplay>(0, nullptr, options);
    SetDisplay(display_);
    user_ = std::make_unique<QtUser>(*display_);
  }

  // Waits, without settling the display, until `done` holds.
  bool Eventually(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    while (std::chrono::steady_clock::now() < deadline) {
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  WindowRef Named(const std::string& label) {
    for (const auto& w : OpenWindows()) {
      if (w->label() == label) return w->ref();
    }
    return 0;
  }
};

TEST_F(UntoldDisplayTest, WindowsFocusAndCursorFollowTheAnnouncements) {
  Run(
      [&] {
        auto w = PixelWindow("Owner", 200, 100);
        Add(*w, 1, ControlType::kButton, 10, 10, 80, 24);
        Loop(w, [&] {
          if (Event() == kOpenNested) {
            auto nested = PixelWindow("Nested", 120, 60);
            Loop(nested);  // until the user closes it
          } else if (Event() == kWaitCursor) {
            SetCursor(*CursorCode("Wait"));
          }
        });
        SetCursor("");
      },
      [&] {
        ASSERT_TRUE(Eventually([&] { return Named("Owner") != 0; }));
        const WindowRef owner = Named("Owner");
        EXPECT_TRUE(Eventually([&] { return display_->Shown(owner); }));

        PostToProgram(kWaitCursor);
        EXPECT_TRUE(Eventually([&] { return user_->CursorAt(owner, 20, 20) == "Wait"; }));

        // Posted events go to the loop running: the nested window's from now on.
        PostToProgram(kOpenNested);
        EXPECT_TRUE(Eventually([&] { return Named("Nested") != 0; }));
        const WindowRef nested = Named("Nested");
        EXPECT_TRUE(Eventually([&] { return display_->Shown(nested); }));

        ASSERT_TRUE(Post(event::kCloseWindow, 0, program_thread_.load()));
        EXPECT_TRUE(Eventually([&] { return !display_->Shown(nested); }));
        EXPECT_TRUE(display_->Shown(owner));
      });
}

}  // namespace
}  // namespace rt::testing
