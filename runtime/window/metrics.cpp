#include "runtime/window/metrics.h"

#include <algorithm>

namespace rt {
namespace {

// a * b / c rounded to the nearest integer, halves away from zero. c > 0.
int64_t MulDivRound(int64_t a, int64_t b, int64_t c) {
  const int64_t n = a * b;
  return n >= 0 ? (n + c / 2) / c : -((-n + c / 2) / c);
}

}  // namespace

FontMetrics MetricsForFontSize(int points) {
  if (points <= 0) points = 8;
  FontMetrics m;
  m.char_width = std::max(1, static_cast<int>(MulDivRound(points, 75, 100)));
  m.char_height = std::max(1, static_cast<int>(MulDivRound(points, 160, 100)));
  return m;
}

int64_t DialogXToPixels(int64_t dlu, const FontMetrics& m) {
  return MulDivRound(dlu, m.char_width, 4);
}
int64_t DialogYToPixels(int64_t dlu, const FontMetrics& m) {
  return MulDivRound(dlu, m.char_height, 8);
}
int64_t PixelsToDialogX(int64_t px, const FontMetrics& m) {
  return MulDivRound(px, 4, m.char_width);
}
int64_t PixelsToDialogY(int64_t px, const FontMetrics& m) {
  return MulDivRound(px, 8, m.char_height);
}

}  // namespace rt
