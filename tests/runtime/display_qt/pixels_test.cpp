// Pixel probes of what the Qt display draws: grab handles, gradients, hidden and moved
// controls.
#include <cstdlib>

#include "runtime/event/os_window.h"
#include "tests/runtime/display_qt/qt_test_util.h"

namespace rt::testing {
namespace {

constexpr int64_t kRed = prop::Rgb(255, 0, 0);
constexpr int64_t kBlack = prop::Rgb(0, 0, 0);
constexpr int64_t kWhite = prop::Rgb(255, 255, 255);
constexpr int64_t kGreen = prop::Rgb(0, 160, 0);
constexpr int64_t kBlue = prop::Rgb(0, 0, 255);

int R(int64_t c) { return static_cast<int>(c & 0xFF); }
int B(int64_t c) { return static_cast<int>((c >> 16) & 0xFF); }

// ---- Grab handles: eight 6-pixel regions around a selection, red inside a black border.

struct HandleCase {
  const char* name;
  int x, y, w, h;    // the selected rectangle (a button, or the window's client area)
  int places[8][2];  // where each handle's top-left corner lies
};

const HandleCase kHandleCases[] = {
    {"Button",
     40,
     30,
     100,
     40,
     {{40, 30}, {87, 30}, {134, 30}, {134, 47}, {134, 64}, {87, 64}, {40, 64}, {40, 47}}},
    {"Window",
     0,
     0,
     300,
     200,
     {{0, 0}, {147, 0}, {294, 0}, {294, 97}, {294, 194}, {147, 194}, {0, 194}, {0, 97}}},
};

class GrabHandleTest : public QtDisplayTest, public ::testing::WithParamInterface<HandleCase> {};

TEST_P(GrabHandleTest, RedSquaresWithBlackBordersAtTheirPlaces) {
  const HandleCase& c = GetParam();
  Run(
      [&] {
        auto w = PixelWindow("Handles", 300, 200);
        w->Set(0, prop::kBackgroundColour, kWhite);
        Add(*w, 1, ControlType::kButton, 40, 30, 100, 40);
        w->Set(1, prop::kText, "Selected");
        // As edit mode draws them: regions 10001..10008 with the handle frame.
        const int s = 6;
        const int xs[] = {c.x, c.x + c.w / 2 - s / 2, c.x + c.w - s};
        const int ys[] = {c.y, c.y + c.h / 2 - s / 2, c.y + c.h - s};
        const int at[8][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};
        for (int k = 0; k < 8; ++k) {
          const int feq = 10001 + k;
          Add(*w, feq, ControlType::kRegion, xs[at[k][0]], ys[at[k][1]], s, s);
          w->Set(feq, prop::kFillColour, 255);
          w->Set(feq, prop::kBackgroundColour, 0);
          w->Set(feq, prop::kHandleFrame, 1);
        }
        Loop(w);
      },
      [&] {
        const WindowRef ref = WaitForWindow("Handles");
        const Image image = GrabOf(ref);
        for (int k = 0; k < 8; ++k) {
          const int hx = c.places[k][0], hy = c.places[k][1];
          SCOPED_TRACE("handle " + std::to_string(k + 1));
          for (auto [dx, dy] : {std::pair{1, 1}, {3, 3}, {4, 2}, {2, 4}}) {
            EXPECT_EQ(image.ColourAt(hx + dx, hy + dy), kRed) << dx << "," << dy;
          }
          for (auto [dx, dy] : {std::pair{0, 0}, {5, 0}, {0, 5}, {5, 5}, {3, 0}, {0, 3}}) {
            EXPECT_EQ(image.ColourAt(hx + dx, hy + dy), kBlack) << dx << "," << dy;
          }
        }
      });
}

INSTANTIATE_TEST_SUITE_P(Selections, GrabHandleTest, ::testing::ValuesIn(kHandleCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Gradients: a panel's corners differ as its kind says.

enum Tone { kFrom, kTo, kBetween };

struct GradientCase {
  int kind;
  Tone corners[4];  // top-left, top-right, bottom-left, bottom-right
  Tone middle;      // the centre of the panel
};

const GradientCase kGradients[] = {
    {0, {kFrom, kFrom, kFrom, kFrom}, kFrom},         // off: the fill colour
    {1, {kFrom, kFrom, kTo, kTo}, kBetween},          // vertical
    {2, {kFrom, kTo, kFrom, kTo}, kBetween},          // horizontal
    {3, {kFrom, kFrom, kFrom, kFrom}, kTo},           // vertical cylinder
    {4, {kFrom, kFrom, kFrom, kFrom}, kTo},           // horizontal cylinder
    {5, {kFrom, kBetween, kBetween, kTo}, kBetween},  // diagonal from the top left
    {6, {kBetween, kTo, kFrom, kBetween}, kBetween},  // diagonal from the bottom left
    {7, {kBetween, kFrom, kTo, kBetween}, kBetween},  // diagonal from the top right
    {8, {kTo, kBetween, kBetween, kFrom}, kBetween},  // diagonal from the bottom right
};

Tone ToneOf(int64_t c) {
  if (R(c) > 220 && B(c) < 35) return kFrom;
  if (B(c) > 220 && R(c) < 35) return kTo;
  return kBetween;
}

TEST_F(QtDisplayTest, GradientPanelCornersFollowTheKind) {
  constexpr int kSide = 80;
  Run(
      [&] {
        auto w = PixelWindow("Gradients", 3 * (kSide + 10), 3 * (kSide + 10));
        int feq = 1;
        for (const GradientCase& g : kGradients) {
          const int i = feq - 1;
          Add(*w, feq, ControlType::kPanel, (i % 3) * (kSide + 10), (i / 3) * (kSide + 10), kSide,
              kSide);
          w->Set(feq, prop::kBevelOuter, 0);
          w->Set(feq, prop::kBevelInner, 0);
          // As settings apply them: the colours and the kind as decimal text.
          w->Set(feq, prop::kFillColour, std::to_string(kRed));
          w->Set(feq, prop::kGradientEndColour, std::to_string(kBlue));
          w->Set(feq, prop::kGradientType, std::to_string(g.kind));
          ++feq;
        }
        Loop(w);
      },
      [&] {
        const Image image = GrabOf(WaitForWindow("Gradients"));
        int i = 0;
        for (const GradientCase& g : kGradients) {
          SCOPED_TRACE("kind " + std::to_string(g.kind));
          const int x0 = (i % 3) * (kSide + 10), y0 = (i / 3) * (kSide + 10);
          const int x1 = x0 + kSide - 1, y1 = y0 + kSide - 1;
          const int corners[4][2] = {{x0, y0}, {x1, y0}, {x0, y1}, {x1, y1}};
          for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(ToneOf(image.ColourAt(corners[k][0], corners[k][1])), g.corners[k])
                << "corner " << k;
          }
          EXPECT_EQ(ToneOf(image.ColourAt(x0 + kSide / 2, y0 + kSide / 2)), g.middle);
          ++i;
        }
      });
}

// ---- Hidden controls leave no pixels; moved ones take theirs along.

// Pixels of colour `colour` inside rectangle (x, y, w, h) of `image`.
int CountColour(const Image& image, int64_t colour, int x, int y, int w, int h) {
  int n = 0;
  for (int j = y; j < y + h; ++j) {
    for (int i = x; i < x + w; ++i) n += image.ColourAt(i, j) == colour;
  }
  return n;
}

// A green box on white, in a group, on the first tab of a sheet.
void BoxProgram(const std::function<void(Window&)>& on_user_event) {
  auto w = PixelWindow("Boxes", 300, 200);
  w->Set(0, prop::kBackgroundColour, kWhite);
  Add(*w, 1, ControlType::kSheet, 0, 0, 300, 200);
  Add(*w, 2, ControlType::kTab, 0, 0, 300, 200, 1);
  w->Set(2, prop::kText, "One");
  Add(*w, 3, ControlType::kTab, 0, 0, 300, 200, 1);
  w->Set(3, prop::kText, "Two");
  Add(*w, 4, ControlType::kGroup, 10, 40, 200, 140, 2);
  Add(*w, 5, ControlType::kBox, 40, 80, 40, 30, 4);
  w->Set(5, prop::kFillColour, kGreen);
  w->Set(5, prop::kFontColour, kGreen);
  Loop(w, [&] {
    if (Event() >= event::kFirstUserEvent) on_user_event(*w);
  });
}

struct HideCase {
  const char* name;
  std::function<void(Window&)> hide;
  std::function<void(Window&)> show;
};

const HideCase kHideCases[] = {
    {"Itself", [](Window& w) { w.Hide(5); }, [](Window& w) { w.Unhide(5); }},
    {"ItsGroup", [](Window& w) { w.Hide(4); }, [](Window& w) { w.Unhide(4); }},
    {"OtherTab", [](Window& w) { w.SetContents(1, Value(2)); },
     [](Window& w) { w.SetContents(1, Value(1)); }},
};

class HiddenTest : public QtDisplayTest, public ::testing::WithParamInterface<HideCase> {};

TEST_P(HiddenTest, HiddenControlLeavesNoPixels) {
  const HideCase& c = GetParam();
  Run([&] { BoxProgram([&](Window& w) { (Event() == 0x300 ? c.hide : c.show)(w); }); },
      [&] {
        const WindowRef ref = WaitForWindow("Boxes");
        EXPECT_EQ(CountColour(GrabOf(ref), kGreen, 40, 80, 40, 30), 40 * 30);
        PostToProgram(0x300);
        Settle();
        EXPECT_EQ(CountColour(GrabOf(ref), kGreen, 0, 0, 300, 200), 0);
        PostToProgram(0x301);
        Settle();
        EXPECT_EQ(CountColour(GrabOf(ref), kGreen, 40, 80, 40, 30), 40 * 30);
      });
}

INSTANTIATE_TEST_SUITE_P(Ways, HiddenTest, ::testing::ValuesIn(kHideCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct MoveCase {
  const char* name;
  int pixels;  // the window's unit while moving
  int x, y;    // written in that unit
  int px, py;  // where the box lands, in pixels
};

// 8-point font: a horizontal dialog unit is 1.5 pixels, a vertical one 1.625.
const MoveCase kMoves[] = {
    {"InPixels", 1, 150, 120, 150, 120},
    {"InDialogUnits", 0, 100, 64, 150, 104},
};

class MoveTest : public QtDisplayTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveTest, MovedControlsPixelsMove) {
  const MoveCase& c = GetParam();
  Run(
      [&] {
        BoxProgram([&](Window& w) {
          w.Set(0, prop::kPixels, c.pixels);
          w.Set(5, prop::kXPos, c.x);
          w.Set(5, prop::kYPos, c.y);
        });
      },
      [&] {
        const WindowRef ref = WaitForWindow("Boxes");
        PostToProgram(0x300);
        Settle();
        const Image image = GrabOf(ref);
        EXPECT_EQ(CountColour(image, kGreen, 40, 80, 40, 30), 0);
        EXPECT_EQ(CountColour(image, kGreen, c.px, c.py, 40, 30), 40 * 30);
        EXPECT_EQ(CountColour(image, kGreen, 0, 0, 300, 200), 40 * 30);
      });
}

INSTANTIATE_TEST_SUITE_P(Units, MoveTest, ::testing::ValuesIn(kMoves),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rt::testing
