// A resizable window under the window-resize service, resized through Qt: the controls'
// pixels follow the edges, and Qt keeps the user above the opening size.
#include "runtime/resize/window_resizer.h"
#include "runtime/window/definition_codes.h"
#include "tests/runtime/display_qt/qt_test_util.h"

namespace rt::testing {
namespace {

constexpr int64_t kRed = prop::Rgb(255, 0, 0);
constexpr int64_t kBlue = prop::Rgb(0, 0, 255);
constexpr int64_t kWhite = prop::Rgb(255, 255, 255);

TEST_F(QtDisplayTest, ResizedWindowKeepsItsControlsAtTheEdgesAndItsMinimumSize) {
  Run(
      [&] {
        auto w = PixelWindow("Resizable", 300, 200);
        w->Set(0, prop::kResizable, 1);
        w->Set(0, prop::kBackgroundColour, kWhite);
        // A red box in the bottom-right corner and a blue bar across the top.
        Add(*w, 1, ControlType::kBox, 250, 160, 40, 30);
        w->Set(1, prop::kFillColour, kRed);
        Add(*w, 2, ControlType::kBox, 10, 10, 280, 20);
        w->Set(2, prop::kFillColour, kBlue);
        ASSERT_TRUE(Open(w->ref()).ok());
        WindowResizer resizer;
        ASSERT_TRUE(
            resizer.Start(w->ref(), ResizeStrategy::kKeepPlace, {.minimum_is_opening_size = true})
                .ok());
        while (Accept(w->ref())) {
        }
      },
      [&] {
        const WindowRef ref = WaitForWindow("Resizable");
        ASSERT_TRUE(user_->ResizeClient(ref, 400, 260).ok());
        Settle();
        Image image = GrabOf(ref);
        ASSERT_EQ(image.width, 400);
        ASSERT_EQ(image.height, 260);
        EXPECT_EQ(image.ColourAt(370, 235), kRed);  // moved by (+100, +60)
        EXPECT_EQ(image.ColourAt(270, 175), kWhite);
        EXPECT_EQ(image.ColourAt(385, 20), kBlue);  // stretched with the width
        EXPECT_EQ(image.ColourAt(395, 20), kWhite);

        // Qt refuses to go below the opening size.
        ASSERT_TRUE(user_->ResizeClient(ref, 150, 100).ok());
        Settle();
        image = GrabOf(ref);
        EXPECT_EQ(image.width, 300);
        EXPECT_EQ(image.height, 200);
        EXPECT_EQ(image.ColourAt(270, 175), kRed);  // back where it was designed
        EXPECT_EQ(FindWindow(ref)->PixelRect(1), (Rect{250, 160, 40, 30}));
      });
}

}  // namespace
}  // namespace rt::testing
