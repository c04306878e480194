#include "runtime/display/qt/painting.h"

#include <QLinearGradient>
#include <cstdlib>

#include "runtime/window/property_codes.h"

namespace rt::qt {
namespace {

// One ring of a bevel, edge by edge, in the order top, left, bottom, right: the top-left
// corner takes the left edge's colour, the bottom-left one the bottom edge's and both right
// corners the right edge's.
void PaintRing(QPainter& p, const QRect& r, bool raised, bool inner_ring, int64_t style,
               const QPalette& palette) {
  auto colour = [&](BevelEdge edge) -> QColor {
    switch (BevelEdgeColourOf(style, inner_ring, edge)) {
      case BevelEdgeColour::kLight:
        return palette.color(QPalette::Light);
      case BevelEdgeColour::kDark:
        return palette.color(QPalette::Dark);
      case BevelEdgeColour::kBlack:
        return Qt::black;
      case BevelEdgeColour::kBySign:
        break;
    }
    const bool lit = (edge == BevelEdge::kLeft || edge == BevelEdge::kTop) == raised;
    return palette.color(lit ? QPalette::Light : QPalette::Dark);
  };
  p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour(BevelEdge::kTop));
  p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour(BevelEdge::kLeft));
  p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour(BevelEdge::kBottom));
  p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour(BevelEdge::kRight));
}

}  // namespace

bool PaintGradient(QPainter& p, const QRect& r, int kind, const QColor& from, const QColor& to) {
  if (r.isEmpty()) return false;
  // Pixel centres of the first and last row or column, so the edges take the end colours.
  const QPointF tl(r.left() + 0.5, r.top() + 0.5);
  const QPointF tr(r.right() + 0.5, r.top() + 0.5);
  const QPointF bl(r.left() + 0.5, r.bottom() + 0.5);
  const QPointF br(r.right() + 0.5, r.bottom() + 0.5);
  QLinearGradient g;
  switch (static_cast<GradientKind>(kind)) {
    case GradientKind::kVertical:
    case GradientKind::kVerticalCylinder:
      g = QLinearGradient(tl, bl);
      break;
    case GradientKind::kHorizontal:
    case GradientKind::kHorizontalCylinder:
      g = QLinearGradient(tl, tr);
      break;
    case GradientKind::kDiagonalTopLeft:
      g = QLinearGradient(tl, br);
      break;
    case GradientKind::kDiagonalBottomLeft:
      g = QLinearGradient(bl, tr);
      break;
    case GradientKind::kDiagonalTopRight:
      g = QLinearGradient(tr, bl);
      break;
    case GradientKind::kDiagonalBottomRight:
      g = QLinearGradient(br, tl);
      break;
    default:
      return false;
  }
  if (kind == static_cast<int>(GradientKind::kVerticalCylinder) ||
      kind == static_cast<int>(GradientKind::kHorizontalCylinder)) {
    g.setColorAt(0, from);
    g.setColorAt(0.5, to);
    g.setColorAt(1, from);
  } else {
    g.setColorAt(0, from);
    g.setColorAt(1, to);
  }
  p.fillRect(r, g);
  return true;
}

bool PaintGradientOf(QPainter& p, const QRect& r, const Properties& props) {
  const int kind = static_cast<int>(Int(props, prop::kGradientType));
  if (kind <= 0) return false;
  const std::optional<QColor> from = Colour(props, prop::kFillColour);
  const std::optional<QColor> to = Colour(props, prop::kGradientEndColour);
  if (!from || !to) return false;
  return PaintGradient(p, r, kind, *from, *to);
}

WallpaperMode WallpaperModeOf(const Properties& props) {
  if (Flag(props, prop::kWallpaperTiled)) return WallpaperMode::kTiled;
  if (Flag(props, prop::kWallpaperCentred)) return WallpaperMode::kCentred;
  return WallpaperMode::kStretched;
}

void PaintWallpaper(QPainter& p, const QRect& r, const QPixmap& image, WallpaperMode mode) {
  if (image.isNull() || r.isEmpty()) return;
  switch (mode) {
    case WallpaperMode::kTiled:
      p.drawTiledPixmap(r, image);
      break;
    case WallpaperMode::kCentred: {
      QRect target(QPoint(0, 0), image.size());
      target.moveCenter(r.center());
      p.save();
      p.setClipRect(r);
      p.drawPixmap(target.topLeft(), image);
      p.restore();
      break;
    }
    case WallpaperMode::kStretched:
      p.drawPixmap(r, image);
      break;
  }
}

Bevel BevelOf(const Properties& props) {
  return Bevel{static_cast<int>(Int(props, prop::kBevelOuter)),
               static_cast<int>(Int(props, prop::kBevelInner)), Int(props, prop::kBevelStyle)};
}

BevelEdgeColour BevelEdgeColourOf(int64_t style, bool inner_ring, BevelEdge edge) {
  const int shift = (inner_ring ? 8 : 0) + 2 * static_cast<int>(edge);
  return static_cast<BevelEdgeColour>((static_cast<uint64_t>(style) >> shift) & 3);
}

void PaintBevel(QPainter& p, QRect& r, const Bevel& bevel, const QPalette& palette) {
  for (const bool inner_ring : {false, true}) {
    const int width = inner_ring ? bevel.inner : bevel.outer;
    for (int i = 0; i < std::abs(width) && r.width() > 1 && r.height() > 1; ++i) {
      PaintRing(p, r, width > 0, inner_ring, bevel.style, palette);
      r.adjust(1, 1, -1, -1);
    }
  }
}

}  // namespace rt::qt
