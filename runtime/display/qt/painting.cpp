#include "runtime/display/qt/painting.h"

#include <QLinearGradient>
#include <cstdlib>

#include "runtime/window/property_codes.h"

namespace rt::qt {
namespace {

// One ring of a bevel: light on the top and left edges when raised, dark when sunk.
void PaintRing(QPainter& p, const QRect& r, bool raised, const QPalette& palette) {
  const QColor light = palette.color(QPalette::Light);
  const QColor dark = palette.color(QPalette::Dark);
  const QColor top_left = raised ? light : dark;
  const QColor bottom_right = raised ? dark : light;
  p.fillRect(QRect(r.left(), r.top(), r.width(), 1), top_left);
  p.fillRect(QRect(r.left(), r.top(), 1, r.height()), top_left);
  p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottom_right);
  p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottom_right);
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

void PaintBevel(QPainter& p, QRect& r, int outer, int inner, const QPalette& palette) {
  for (int width : {outer, inner}) {
    for (int i = 0; i < std::abs(width) && r.width() > 1 && r.height() > 1; ++i) {
      PaintRing(p, r, width > 0, palette);
      r.adjust(1, 1, -1, -1);
    }
  }
}

}  // namespace rt::qt
