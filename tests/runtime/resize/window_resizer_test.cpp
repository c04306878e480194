#include "runtime/resize/window_resizer.h"

#include <gtest/gtest.h>

#include "runtime/display/headless/headless_display.h"
#include "runtime/display/headless/robot.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"
#include "tests/runtime/display/headless_program_test.h"
#include "tests/runtime/event/event_test_util.h"

namespace rt {
namespace {

using testing::AddControl;
using testing::Log;
using testing::MakeWindow;

// Events the fixture posts to the program to make it act on its own thread.
constexpr int kStopResizer = 0x3F0;
constexpr int kMoveOk = 0x3F1;

// A 400 x 300 form: a sheet with one tab above a strip of buttons. The tab holds a wide entry
// with a browse button at its right, a note in its lower half, a group and a text; a title is
// centred.
class WindowResizerTest : public testing::HeadlessProgramTest {
 protected:
  void SetUp() override {
    HeadlessProgramTest::SetUp();
    window_ = robot_->FindWindowNamed("Form");
    ASSERT_NE(window_, 0);
  }

  void Program() override {
    auto w = MakeWindow("Form", 20, 20, 400, 300);
    AddControl(*w, 1, ControlType::kSheet, "?SHEET", 0, 0, 400, 260);
    AddControl(*w, 2, ControlType::kTab, "?TAB1", 0, 0, 400, 260, 1);
    AddControl(*w, 3, ControlType::kEntry, "?NAME", 10, 30, 300, 20, 2);
    AddControl(*w, 4, ControlType::kButton, "?BROWSE", 320, 30, 60, 20, 2);
    AddControl(*w, 5, ControlType::kEntry, "?NOTE", 10, 200, 100, 20, 2);
    AddControl(*w, 6, ControlType::kButton, "?RESET", 10, 270, 60, 20);
    AddControl(*w, 7, ControlType::kButton, "?OK", 250, 270, 60, 20);
    AddControl(*w, 8, ControlType::kButton, "?CANCEL", 330, 270, 60, 20);
    AddControl(*w, 9, ControlType::kPrompt, "?TITLE", 150, 265, 100, 12);
    // A group across the tab's middle with a check box drawn inside it, listed beside it
    // rather than in it; a text across the vertical middle.
    AddControl(*w, 10, ControlType::kGroup, "?MODE", 150, 100, 230, 80, 2);
    AddControl(*w, 11, ControlType::kCheck, "?HIDE", 160, 120, 80, 16, 2);
    AddControl(*w, 12, ControlType::kText, "?MEMO", 10, 110, 120, 40, 2);
    ASSERT_TRUE(Open(w->ref()).ok());
    WindowResizer resizer;
    ASSERT_TRUE(
        resizer.Start(w->ref(), ResizeStrategy::kKeepPlace, {.minimum_is_opening_size = true})
            .ok());
    while (Accept(w->ref())) {
      switch (Event()) {
        case event::kSized:
          // The controls are in place by the time the program hears of the new size.
          log_.Add("sized, OK at " + std::to_string(w->PixelRect(7).x));
          break;
        case kStopResizer:
          resizer.Stop();
          break;
        case kMoveOk:
          w->SetPixelRect(7, Rect{150, 270, 60, 20});
          break;
        default:
          break;
      }
    }
  }

  Rect At(int feq) const { return FindWindow(window_)->PixelRect(feq); }
  void Resize(int width, int height) { ASSERT_TRUE(robot_->Resize(window_, width, height).ok()); }
  void Tell(int event) {
    ASSERT_TRUE(Post(event, 0, program_));
    ASSERT_TRUE(robot_->WaitIdle().ok());
  }

  WindowRef window_ = 0;
  Log log_;
};

struct Placement {
  int feq;
  const char* what;
  Rect designed;
  Rect wider_and_taller;  // at 500 x 360
};

constexpr Placement kPlacements[] = {
    {1, "sheet stretches both ways", {0, 0, 400, 260}, {0, 0, 500, 320}},
    {2, "its tab too", {0, 0, 400, 260}, {0, 0, 500, 320}},
    {3, "wide entry stretches, stays at the top", {10, 30, 300, 20}, {10, 30, 400, 20}},
    {4, "button right of it keeps to the right", {320, 30, 60, 20}, {420, 30, 60, 20}},
    {5, "lower half keeps to the bottom", {10, 200, 100, 20}, {10, 260, 100, 20}},
    {6, "bottom left", {10, 270, 60, 20}, {10, 330, 60, 20}},
    {7, "bottom right", {250, 270, 60, 20}, {350, 330, 60, 20}},
    {8, "bottom right", {330, 270, 60, 20}, {430, 330, 60, 20}},
    {9, "centred stays centred", {150, 265, 100, 12}, {200, 325, 100, 12}},
    {10,
     "group across the middle stretches, stays at the top",
     {150, 100, 230, 80},
     {150, 100, 330, 80}},
    {11, "what is drawn in the group moves with the group", {160, 120, 80, 16}, {160, 120, 80, 16}},
    {12, "across the vertical middle stays at the top", {10, 110, 120, 40}, {10, 110, 120, 40}},
};

TEST_F(WindowResizerTest, ControlsKeepTheirPlaceRelativeToTheEdges) {
  Resize(500, 360);
  for (const Placement& p : kPlacements) EXPECT_EQ(At(p.feq), p.wider_and_taller) << p.what;
  EXPECT_EQ(log_.lines(), std::vector<std::string>{"sized, OK at 350"});

  // Back to the designed size, in two steps: every control is exactly where it was designed.
  Resize(451, 333);
  Resize(400, 300);
  for (const Placement& p : kPlacements) EXPECT_EQ(At(p.feq), p.designed) << p.what;
}

TEST_F(WindowResizerTest, TheOpeningSizeIsTheSmallestTheUserCanMake) {
  Resize(200, 100);
  EXPECT_EQ(At(0).width, 400);
  EXPECT_EQ(At(0).height, 300);
  Resize(300, 400);  // one way smaller, the other larger
  EXPECT_EQ(At(0).width, 400);
  EXPECT_EQ(At(0).height, 400);
  EXPECT_EQ(At(7), (Rect{250, 370, 60, 20}));

  // Stopped: the limits go, and nothing moves any more.
  Tell(kStopResizer);
  Resize(200, 100);
  EXPECT_EQ(At(0).width, 200);
  EXPECT_EQ(At(7), (Rect{250, 370, 60, 20}));
}

TEST_F(WindowResizerTest, AControlTheProgramMovedMovesFromThere) {
  Tell(kMoveOk);
  Resize(500, 300);
  EXPECT_EQ(At(7), (Rect{250, 270, 60, 20}));  // still follows the right edge
}

TEST(WindowResizerStartTest, RefusesWhatItCannotArrange) {
  testing::RunOnThread([] {
    WindowResizer resizer;
    EXPECT_FALSE(resizer.Start(999999, ResizeStrategy::kKeepPlace).ok());
    auto w = MakeWindow("Other");
    ASSERT_TRUE(Open(w->ref()).ok());
    EXPECT_FALSE(resizer.Start(w->ref(), static_cast<ResizeStrategy>(7)).ok());
    EXPECT_FALSE(resizer.running());
    // Another thread's window is not this thread's to arrange.
    const WindowRef mine = w->ref();
    testing::RunOnThread([mine] {
      WindowResizer other;
      EXPECT_FALSE(other.Start(mine, ResizeStrategy::kKeepPlace).ok());
    });
    ASSERT_TRUE(resizer.Start(w->ref(), ResizeStrategy::kKeepPlace).ok());
    EXPECT_TRUE(resizer.running());
    Close(w->ref());
    EXPECT_FALSE(resizer.running());
  });
}

}  // namespace
}  // namespace rt
