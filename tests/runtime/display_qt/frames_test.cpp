// What the display shows when: a window appears in one full frame, changes made while its
// updates are locked show in one frame (and one paint) after the unlock.
#include <cstdio>
#include <fstream>

#include "runtime/event/os_window.h"
#include "runtime/window/definition.h"
#include "runtime/window/handles.h"
#include "tests/runtime/display_qt/qt_test_util.h"
#include "twiqdemo/windows/demo_windows.h"

namespace rt::testing {
namespace {

constexpr int kControlWindowControls = 21;
constexpr int kCustomise = 0x300;

// Opens the demo's Control Window the way a customised window opens: built, then changed
// with its updates locked, opened, and unlocked. kCustomise changes every control again
// under the lock.
void ControlWindowProgram(std::chrono::milliseconds locked_pause) {
  twiqdemo::ControlWindowVars vars;
  Status st;
  auto w = BuildWindow(twiqdemo::ControlWindowDefinition(), CurrentThread(),
                       twiqdemo::Bindings(vars), &st);
  ASSERT_TRUE(w) << st.message();
  const Handle handle = HandleOf(w->ref(), 0);
  auto customise = [&](int shift) {
    ASSERT_TRUE(LockWindowUpdate(handle));
    w->Set(0, prop::kPixels, 1);
    for (int feq : w->Fields()) {
      w->Set(feq, prop::kXPos, w->Get(feq, prop::kXPos).AsInt() + shift);
      w->Set(feq, prop::kTip, "Customised " + std::to_string(feq));
    }
    w->Set(3, prop::kGradientType, "2");
    w->Set(3, prop::kFillColour, std::to_string(prop::Rgb(255, 255, 255)));
    w->Set(3, prop::kGradientEndColour, std::to_string(prop::Rgb(0, 0, 160)));
    w->Set(0, prop::kPixels, 0);
  };
  customise(0);
  ASSERT_TRUE(Open(w->ref()).ok());
  // The display looks for newly opened windows meanwhile: it must not show this one yet.
  std::this_thread::sleep_for(locked_pause);
  ASSERT_TRUE(LockWindowUpdate(0));
  while (Accept(w->ref())) {
    if (Event() == kCustomise) {
      customise(2);
      std::this_thread::sleep_for(locked_pause);
      ASSERT_TRUE(LockWindowUpdate(0));
    }
  }
}

TEST_F(QtDisplayTest, ControlWindowAppearsInOneFullFrame) {
  Run([] { ControlWindowProgram(std::chrono::milliseconds(80)); },
      [&] {
        const WindowRef ref = WaitForWindow("Main$Window");
        EXPECT_EQ(display_->FrameSizes(ref), std::vector<int>{kControlWindowControls});
      });
}

TEST_F(QtDisplayTest, ChangesWhileLockedShowInOneFrameAndOnePaint) {
  Run([] { ControlWindowProgram(std::chrono::milliseconds(80)); },
      [&] {
        const WindowRef ref = WaitForWindow("Main$Window");
        const Image before = GrabOf(ref);  // a grab paints too: before counting
        const int64_t frames = display_->Frames(ref);
        const int64_t paints = user_->ClientPaints(ref);
        PostToProgram(kCustomise);
        Settle();
        EXPECT_EQ(display_->Frames(ref), frames + 1);
        EXPECT_EQ(display_->FrameSizes(ref).back(), kControlWindowControls);
        EXPECT_EQ(user_->ClientPaints(ref) - paints, 1);
        // Every control moved two pixels right: the picture did change.
        EXPECT_NE(GrabOf(ref).pixels, before.pixels);
      });
}

// Screenshots: PNG files of the whole window, while the display runs and (without it) drawn
// from the model alone. TWIQ_SCREENSHOT_DIR keeps them for a look.
std::string ScreenshotDir() {
  if (const char* d = std::getenv("TWIQ_SCREENSHOT_DIR")) return d;
  char dir[] = "/tmp/twiq-shots-XXXXXX";
  return mkdtemp(dir) ? dir : "/tmp";
}

bool IsPng(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[8] = {};
  in.read(head, 8);
  return in.gcount() == 8 && std::string(head + 1, 3) == "PNG";
}

TEST_F(QtDisplayTest, SavesScreenshotsOfShownWindows) {
  const std::string path = ScreenshotDir() + "/control_window.png";
  std::remove(path.c_str());
  Run([] { ControlWindowProgram(std::chrono::milliseconds(0)); },
      [&] {
        const WindowRef ref = WaitForWindow("Main$Window");
        ASSERT_TRUE(display_->SaveScreenshot(ref, path).ok());
        EXPECT_FALSE(display_->SaveScreenshot(ref + 1000, path + ".none").ok());
      });
  EXPECT_TRUE(IsPng(path));
}

}  // namespace
}  // namespace rt::testing
