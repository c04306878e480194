#include "runtime/display/qt/qt_cursors.h"

#include <QPixmap>
#include <array>
#include <utility>

#include "runtime/value/text.h"
#include "runtime/window/cursors.h"

namespace rt::qt {
namespace {

// Each standard cursor by name and the Qt shape that draws it.
constexpr std::array<std::pair<std::string_view, Qt::CursorShape>, 16> kShapes = {{
    {"None", Qt::BlankCursor},
    {"Arrow", Qt::ArrowCursor},
    {"IBeam", Qt::IBeamCursor},
    {"Wait", Qt::WaitCursor},
    {"Cross", Qt::CrossCursor},
    {"UpArrow", Qt::UpArrowCursor},
    {"Size", Qt::SizeAllCursor},
    {"Icon", Qt::PointingHandCursor},
    {"SizeNWSE", Qt::SizeFDiagCursor},
    {"SizeNESW", Qt::SizeBDiagCursor},
    {"SizeWE", Qt::SizeHorCursor},
    {"SizeNS", Qt::SizeVerCursor},
    {"DragWE", Qt::SplitHCursor},
    {"Drop", Qt::DragMoveCursor},
    {"NoDrop", Qt::ForbiddenCursor},
    {"Zoom", Qt::OpenHandCursor},
}};

}  // namespace

std::optional<QCursor> CursorOf(std::string_view value) {
  if (IsBlank(value)) return std::nullopt;
  std::optional<std::string> name = CursorName(value);
  if (!name && CursorCode(value)) name = std::string(Clip(value));
  if (name) {
    for (const auto& [n, shape] : kShapes) {
      if (ClipEquals(n, *name)) return QCursor(shape);
    }
  }
  QPixmap picture(QString::fromStdString(Clip(value)));
  if (picture.isNull()) return std::nullopt;
  return QCursor(picture);
}

std::string CursorNameOf(const QCursor& cursor) {
  if (cursor.shape() == Qt::BitmapCursor) return "File";
  for (const auto& [n, shape] : kShapes) {
    if (shape == cursor.shape()) return std::string(n);
  }
  return "Arrow";
}

}  // namespace rt::qt
