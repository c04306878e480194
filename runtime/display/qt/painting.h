// Painting what Qt has no widget for: gradients of the eight kinds, wallpaper, bevels.
//
// Used by the custom-painted controls and by the client area of a window. GUI thread only
// (QPainter); the functions themselves hold no state.
#ifndef RUNTIME_DISPLAY_QT_PAINTING_H_
#define RUNTIME_DISPLAY_QT_PAINTING_H_

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QRect>

#include "runtime/display/qt/control_style.h"

namespace rt::qt {

// GradientType (7906h) values. The start colour is FillColour (7C61h), the end colour
// GradientEndColour (7905h).
enum class GradientKind {
  kOff = 0,
  kVertical = 1,             // start at the top edge, end at the bottom edge
  kHorizontal = 2,           // start at the left edge, end at the right edge
  kVerticalCylinder = 3,     // start at the top and bottom edges, end along the middle
  kHorizontalCylinder = 4,   // start at the left and right edges, end down the middle
  kDiagonalTopLeft = 5,      // start at the top-left corner, end at the bottom-right one
  kDiagonalBottomLeft = 6,   // start at the bottom-left corner, end at the top-right one
  kDiagonalTopRight = 7,     // start at the top-right corner, end at the bottom-left one
  kDiagonalBottomRight = 8,  // start at the bottom-right corner, end at the top-left one
};

// Fills `r` with the gradient of `kind` (1..8) from `from` to `to`; false (nothing painted)
// for kOff or an unknown kind.
bool PaintGradient(QPainter& p, const QRect& r, int kind, const QColor& from, const QColor& to);

// The gradient the properties ask for (type, start and end colours all set); false when none.
bool PaintGradientOf(QPainter& p, const QRect& r, const Properties& props);

// Wallpaper modes (Wallpaper 7A15h with WallpaperCentred 7A17h / WallpaperTiled 7A16h).
enum class WallpaperMode { kStretched, kCentred, kTiled };
WallpaperMode WallpaperModeOf(const Properties& props);
void PaintWallpaper(QPainter& p, const QRect& r, const QPixmap& image, WallpaperMode mode);

// A bevel: `outer` then `inner` rings (BevelOuter 7CE4h, BevelInner 7CE5h), each as many
// pixels wide as its magnitude, raised when positive and sunk when negative, and `style`
// (BevelStyle 7CE6h), which colours each edge of each ring (see BevelEdgeColourOf).
struct Bevel {
  int outer = 0;
  int inner = 0;
  int64_t style = 0;
  friend bool operator==(const Bevel&, const Bevel&) = default;
};
Bevel BevelOf(const Properties& props);

// The edges of a ring, in the order of their bits in a bevel style.
enum class BevelEdge { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };
// What colours one edge: two bits of the style, from bit 0 (outer ring) or bit 8 (inner ring)
// on, two per edge. kBySign is the ring's own look: raised rings are light at the top and
// left and dark at the bottom and right, sunk rings the reverse; so style 0 is the plain
// bevel. Bits above 15 are ignored.
enum class BevelEdgeColour { kBySign = 0, kLight = 1, kDark = 2, kBlack = 3 };
BevelEdgeColour BevelEdgeColourOf(int64_t style, bool inner_ring, BevelEdge edge);

// Paints `bevel` inside `r` in the palette's light and dark colours (and black where the style
// asks); `r` shrinks by the width drawn. Rings stop when `r` has no inside left.
void PaintBevel(QPainter& p, QRect& r, const Bevel& bevel, const QPalette& palette);

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_PAINTING_H_
