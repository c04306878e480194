// Dialog units: the window's own unit of position and size.
//
// Positions and sizes are kept in pixels. A window whose Pixels property is 0 reads and writes
// them in dialog units, which scale with the window font: a horizontal dialog unit is a quarter
// of the font's average character width, a vertical one an eighth of its character height. The
// character cell comes from one deterministic table (below), so a stored position means the
// same on every display and every machine, whatever fonts are installed.
#ifndef RUNTIME_WINDOW_METRICS_H_
#define RUNTIME_WINDOW_METRICS_H_

#include <cstdint>

namespace rt {

// The character cell of a font, in pixels.
struct FontMetrics {
  int char_width = 6;    // average character width
  int char_height = 13;  // line height
};

// The cell of a font of `points` size (any face): width round(0.75 * points), height
// round(1.6 * points), at least 1 pixel each. 8 points gives 6 x 13; a size <= 0 means 8.
FontMetrics MetricsForFontSize(int points);

// Pixels <-> dialog units, rounding to the nearest (halves away from zero).
int64_t DialogXToPixels(int64_t dlu, const FontMetrics& m);
int64_t DialogYToPixels(int64_t dlu, const FontMetrics& m);
int64_t PixelsToDialogX(int64_t px, const FontMetrics& m);
int64_t PixelsToDialogY(int64_t px, const FontMetrics& m);

}  // namespace rt

#endif  // RUNTIME_WINDOW_METRICS_H_
