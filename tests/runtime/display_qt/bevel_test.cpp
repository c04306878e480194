// Pixel probes of bevels: each edge of each ring takes the colour its style bits choose, on
// every kind of control that has a bevel, and a box's bevel leaves its caption alone.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/runtime/display_qt/qt_test_util.h"

namespace rt::testing {
namespace {

constexpr int64_t kWhite = prop::Rgb(255, 255, 255);
constexpr int64_t kGreen = prop::Rgb(0, 160, 0);
constexpr int64_t kBlue = prop::Rgb(0, 0, 255);

int R(int64_t c) { return static_cast<int>(c & 0xFF); }
int G(int64_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(int64_t c) { return static_cast<int>((c >> 16) & 0xFF); }

// What a bevel pixel looks like: the style's light or dark shade of grey, or black.
enum Tone { kLight, kDark, kBlack, kOther };

const char* ToneName(Tone t) {
  static const char* const kNames[] = {"light", "dark", "black", "other"};
  return kNames[t];
}

Tone ToneOf(int64_t c) {
  const int r = R(c), g = G(c), b = B(c);
  if (std::max({r, g, b}) - std::min({r, g, b}) > 16) return kOther;  // not a grey
  if (r < 24) return kBlack;
  if (r >= 200) return kLight;
  if (r >= 64 && r < 200) return kDark;
  return kOther;
}

// Edges in the order of their bits: left, top, right, bottom.
struct StyleCase {
  const char* name;
  int outer, inner;
  int64_t style;
  Tone outer_edges[4];
  Tone inner_edges[4];
};

constexpr Tone L = kLight, D = kDark, K = kBlack;

const StyleCase kStyles[] = {
    {"PlainRaised", 2, 2, 0, {L, L, D, D}, {L, L, D, D}},
    {"PlainSunk", -2, -2, 0, {D, D, L, L}, {D, D, L, L}},
    {"RaisedOuterSunkInner", 2, -1, 0, {L, L, D, D}, {D, D, L, L}},
    // Outer: left light, top dark, right black, bottom as raised; inner: left black, top as
    // raised, right light, bottom dark.
    {"EveryEdgeItsOwn", 2, 2, 0x9339, {L, D, K, D}, {K, L, L, D}},
    // Outer: left and right as sunk, top light, bottom black; inner all black.
    {"SunkWithOverrides", -1, -2, 0xFFC4, {D, L, L, K}, {K, K, K, K}},
    // The inner ring keeps its own bits when there is no outer ring.
    {"OnlyInnerRing", 0, 2, 0x00FF, {}, {L, L, D, D}},
};

struct Kind {
  ControlType type;
  const char* name;
};

const Kind kKinds[] = {
    {ControlType::kRegion, "region"},
    {ControlType::kPanel, "panel"},
    {ControlType::kGroup, "group"},
    {ControlType::kOption, "option"},
};

constexpr int kW = 100, kH = 80, kGap = 10;

class BevelStyleTest : public QtDisplayTest, public ::testing::WithParamInterface<StyleCase> {};

// Each control is green inside its bevel; walking out from its centre along the middle row or
// column, the first pixels that are not its inside belong to the inner ring, then to the outer
// one.
TEST_P(BevelStyleTest, EachEdgeTakesTheColourItsBitsChoose) {
  const StyleCase& c = GetParam();
  Run(
      [&] {
        auto w = PixelWindow("Bevels", 4 * (kW + kGap), kH + 2 * kGap);
        w->Set(0, prop::kBackgroundColour, kWhite);
        int feq = 1;
        for (const Kind& k : kKinds) {
          Add(*w, feq, k.type, kGap / 2 + (feq - 1) * (kW + kGap), kGap, kW, kH);
          const bool box = k.type == ControlType::kGroup || k.type == ControlType::kOption;
          w->Set(feq, box ? prop::kBackgroundColour : prop::kFillColour, kGreen);
          if (box) w->Set(feq, prop::kText, "G");
          w->Set(feq, prop::kBevelOuter, c.outer);
          w->Set(feq, prop::kBevelInner, c.inner);
          w->Set(feq, prop::kBevelStyle, c.style);
          ++feq;
        }
        Loop(w);
      },
      [&] {
        const Image image = GrabOf(WaitForWindow("Bevels"));
        for (size_t i = 0; i < std::size(kKinds); ++i) {
          SCOPED_TRACE(kKinds[i].name);
          const int cx = kGap / 2 + static_cast<int>(i) * (kW + kGap) + kW / 2;
          const int cy = kGap + kH / 2;
          // The style may shade a box's inside a little; it stays green.
          const int64_t inside = image.ColourAt(cx, cy);
          ASSERT_TRUE(G(inside) > 120 && R(inside) < 40 && B(inside) < 40) << std::hex << inside;
          static const char* const kEdges[] = {"left", "top", "right", "bottom"};
          static const int kSteps[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
          for (int e = 0; e < 4; ++e) {
            const int dx = kSteps[e][0], dy = kSteps[e][1];
            int x = cx, y = cy;
            while (image.ColourAt(x, y) == inside && std::abs(x - cx) < kW &&
                   std::abs(y - cy) < kH) {
              x += dx, y += dy;
            }
            auto expect_ring = [&](int width, const Tone* edges, const char* ring) {
              for (int k = 0; k < std::abs(width); ++k, x += dx, y += dy) {
                EXPECT_STREQ(ToneName(ToneOf(image.ColourAt(x, y))), ToneName(edges[e]))
                    << ring << " ring, " << kEdges[e] << " edge, pixel " << k << " at " << x << ","
                    << y;
              }
            };
            expect_ring(c.inner, c.inner_edges, "inner");
            expect_ring(c.outer, c.outer_edges, "outer");
          }
        }
      });
}

INSTANTIATE_TEST_SUITE_P(Styles, BevelStyleTest, ::testing::ValuesIn(kStyles),
                         [](const auto& info) { return std::string(info.param.name); });

// Pixels of the caption's colour (blue, antialiasing allowed) inside rectangle (x, y, w, h).
int CaptionPixels(const Image& image, int x, int y, int w, int h) {
  int n = 0;
  for (int j = y; j < y + h; ++j) {
    for (int i = x; i < x + w; ++i) {
      const int64_t p = image.ColourAt(i, j);
      n += B(p) > 128 && R(p) < 96 && G(p) < 96;
    }
  }
  return n;
}

// A wide black bevel starts below the caption: a box shows as many caption pixels with it as
// without it.
TEST_F(QtDisplayTest, BoxBevelLeavesTheCaptionReadable) {
  const ControlType kBoxes[] = {ControlType::kGroup, ControlType::kOption};
  Run(
      [&] {
        auto w = PixelWindow("Captions", 2 * (kW + kGap), 2 * (kH + kGap));
        int feq = 1;
        for (int row = 0; row < 2; ++row) {
          for (int bevelled = 0; bevelled < 2; ++bevelled) {
            Add(*w, feq, kBoxes[row], bevelled * (kW + kGap), row * (kH + kGap), kW, kH);
            w->Set(feq, prop::kText, "Caption");
            w->Set(feq, prop::kFontColour, kBlue);
            if (bevelled) {
              w->Set(feq, prop::kBevelOuter, 4);
              w->Set(feq, prop::kBevelInner, -4);
              w->Set(feq, prop::kBevelStyle, 0xFFFF);
            }
            ++feq;
          }
        }
        Loop(w);
      },
      [&] {
        const Image image = GrabOf(WaitForWindow("Captions"));
        for (int row = 0; row < 2; ++row) {
          SCOPED_TRACE(row == 0 ? "group" : "option");
          const int y = row * (kH + kGap);
          const int plain = CaptionPixels(image, 0, y, kW, kH);
          EXPECT_GT(plain, 0);
          EXPECT_EQ(CaptionPixels(image, kW + kGap, y, kW, kH), plain);
        }
      });
}

}  // namespace
}  // namespace rt::testing
