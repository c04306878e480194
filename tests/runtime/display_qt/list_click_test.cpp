// A click on a list shown by the Qt display selects the row drawn under the pointer, below the
// header band, and the selection is drawn where the user clicked.
#include "tests/runtime/display_qt/qt_test_util.h"

namespace rt::testing {
namespace {

constexpr int64_t kFill = prop::Rgb(255, 0, 0);

TEST_F(QtDisplayTest, ClickOnSecondDrawnRowOfListWithHeaderSelectsIt) {
  std::shared_ptr<Window> list_window;
  Run(
      [&] {
        auto w = PixelWindow("Pick", 300, 200);
        Add(*w, 1, ControlType::kList, 10, 10, 200, 120);
        w->Set(1, prop::kListFormat, "80L(2)|M~Name~@s20@");
        w->Set(1, prop::kChoiceList, "one|two|three|four");
        w->Set(1, prop::kSelectedFillColour, kFill);
        list_window = w;
        Loop(w);
      },
      [&] {
        const WindowRef ref = WaitForWindow("Pick");
        const int cell = list_window->metrics().char_height;
        // The middle of the second row drawn below the header band.
        const int x = 60;
        const int y = 10 + cell + cell + cell / 2;
        ASSERT_TRUE(user_->Click(ref, x, y).ok());
        Settle();
        EXPECT_EQ(list_window->Get(1, prop::kSelectedRow).AsInt(), 2);
        const Image image = GrabOf(ref);
        EXPECT_EQ(image.ColourAt(x, y), kFill) << "the selection is drawn under the pointer";
        EXPECT_NE(image.ColourAt(x, y - cell), kFill);
        EXPECT_NE(image.ColourAt(x, y + cell), kFill);
      });
}

}  // namespace
}  // namespace rt::testing
