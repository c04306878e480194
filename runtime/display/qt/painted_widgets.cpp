#include "runtime/display/qt/painted_widgets.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

#include "runtime/display/qt/painting.h"
#include "runtime/value/text.h"
#include "runtime/window/property_codes.h"

namespace rt::qt {
namespace {

QColor ColourOr(const Properties& p, int code, const QColor& fallback) {
  return Colour(p, code).value_or(fallback);
}

}  // namespace

PaintedWidget::PaintedWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoSystemBackground);
}

void PaintedWidget::SetState(PaintedState state) {
  if (state == state_) return;
  state_ = std::move(state);
  update();
}

const QPixmap& PaintedWidget::Picture(const std::string& path) {
  if (path != picture_path_) {
    picture_path_ = path;
    picture_ = path.empty() ? QPixmap() : QPixmap(QString::fromStdString(path));
  }
  return picture_;
}

void PaintedWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  switch (state_.type) {
    case ControlType::kString:
    case ControlType::kStringPicture:
    case ControlType::kPrompt:
      PaintText(p, r);
      break;
    case ControlType::kPanel:
    case ControlType::kToolbar:
      PaintPanel(p, r);
      break;
    case ControlType::kImage:
      PaintWallpaper(p, r, Picture(Clip(state_.text.toStdString())), WallpaperModeOf(state_.props));
      break;
    default:
      PaintShape(p, r);
      break;
  }
}

void PaintedWidget::PaintText(QPainter& p, const QRect& r) {
  const Properties& props = state_.props;
  if (!Flag(props, prop::kTransparent)) {
    if (std::optional<QColor> bg = Colour(props, prop::kBackgroundColour)) p.fillRect(r, *bg);
  }
  const Justification j = JustificationOf(props, state_.metrics);
  QRect text_rect = r;
  if (j.align & Qt::AlignRight) {
    text_rect.adjust(0, 0, -j.indent, 0);
  } else {
    text_rect.adjust(j.indent, 0, 0, 0);
  }
  const QColor colour =
      state_.enabled ? ColourOr(props, prop::kFontColour, palette().color(QPalette::WindowText))
                     : palette().color(QPalette::Disabled, QPalette::WindowText);
  p.setPen(colour);
  p.setFont(font());
  int flags = static_cast<int>(QStyle::visualAlignment(layoutDirection(), j.align));
  const int line = p.fontMetrics().height();
  flags |= r.height() >= 2 * line ? (Qt::AlignTop | Qt::TextWordWrap) : Qt::AlignVCenter;
  flags |= state_.type == ControlType::kPrompt ? Qt::TextShowMnemonic : Qt::TextDontClip;
  p.drawText(text_rect, flags, state_.text);
}

void PaintedWidget::PaintShape(QPainter& p, const QRect& r) {
  const Properties& props = state_.props;
  const ControlType type = state_.type;
  if (type == ControlType::kRegion && Flag(props, prop::kHandleFrame)) {
    p.fillRect(r, ColourOr(props, prop::kBackgroundColour, Qt::black));
    p.fillRect(r.adjusted(1, 1, -1, -1), ColourOr(props, prop::kFillColour, Qt::red));
    return;
  }
  const QColor outline = ColourOr(props, prop::kFontColour, Qt::black);
  switch (type) {
    case ControlType::kLine: {
      p.setPen(QPen(outline, 1));
      const QRect l = r.adjusted(0, 0, -1, -1);
      if (state_.rising) {
        p.drawLine(l.bottomLeft(), l.topRight());
      } else {
        p.drawLine(l.topLeft(), l.bottomRight());
      }
      return;
    }
    case ControlType::kEllipse: {
      p.setRenderHint(QPainter::Antialiasing);
      const std::optional<QColor> fill = Colour(props, prop::kFillColour);
      p.setBrush(fill ? QBrush(*fill) : Qt::NoBrush);
      p.setPen(QPen(outline, 1));
      p.drawEllipse(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
      return;
    }
    case ControlType::kBox: {
      if (!PaintGradientOf(p, r, props)) {
        if (std::optional<QColor> fill = Colour(props, prop::kFillColour)) p.fillRect(r, *fill);
      }
      p.setPen(QPen(outline, 1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(r.adjusted(0, 0, -1, -1));
      return;
    }
    case ControlType::kRegion: {
      if (!PaintGradientOf(p, r, props)) {
        if (std::optional<QColor> fill = Colour(props, prop::kFillColour)) p.fillRect(r, *fill);
      }
      QRect inner = r;
      PaintBevel(p, inner, BevelOf(props), palette());
      return;
    }
    default:
      return;  // custom controls paint nothing of their own
  }
}

void PaintedWidget::PaintPanel(QPainter& p, QRect r) {
  const Properties& props = state_.props;
  const bool toolbar = state_.type == ControlType::kToolbar;
  const QColor base =
      toolbar
          ? ColourOr(props, prop::kBackgroundColour, palette().color(QPalette::Button))
          : ColourOr(props, prop::kFillColour,
                     ColourOr(props, prop::kBackgroundColour, palette().color(QPalette::Window)));
  p.fillRect(r, base);
  PaintGradientOf(p, r, props);
  PaintWallpaper(p, r, Picture(Clip(Text(props, prop::kWallpaper))), WallpaperModeOf(props));
  if (toolbar) {
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), palette().color(QPalette::Dark));
    return;
  }
  PaintBevel(p, r, BevelOf(props), palette());
}

SheetWidget::SheetWidget(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  bar_->setFocusPolicy(Qt::NoFocus);
}

void SheetWidget::SetTabs(const std::vector<QString>& texts, int selected) {
  if (texts != texts_) {
    texts_ = texts;
    while (bar_->count() > 0) bar_->removeTab(0);
    for (const QString& t : texts_) bar_->addTab(t);
  }
  const int index = std::clamp(selected, 1, std::max<int>(1, bar_->count())) - 1;
  if (bar_->count() > 0 && bar_->currentIndex() != index) bar_->setCurrentIndex(index);
  resizeEvent(nullptr);
}

int SheetWidget::TabAt(const QPoint& point) const {
  const int i = bar_->tabAt(bar_->mapFrom(this, point));
  return i < 0 ? 0 : i + 1;
}

void SheetWidget::resizeEvent(QResizeEvent*) {
  const int h = bar_->count() > 0 ? bar_->sizeHint().height() : 0;
  bar_->setGeometry(0, 0, width(), h);
}

void SheetWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  const int h = bar_->count() > 0 ? bar_->sizeHint().height() : 0;
  frame.rect = QRect(0, h - 1, width(), height() - h + 1);
  frame.shape = QTabBar::RoundedNorth;
  frame.tabBarSize = bar_->sizeHint();
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
}

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

void ClientArea::SetWindowProperties(const Properties& props) {
  if (props == props_) return;
  props_ = props;
  const std::string path = Clip(Text(props_, prop::kWallpaper));
  if (path != picture_path_) {
    picture_path_ = path;
    picture_ = path.empty() ? QPixmap() : QPixmap(QString::fromStdString(path));
  }
  update();
}

void ClientArea::SetChildArea(QWidget* area) {
  child_area_ = area;
  resizeEvent(nullptr);
}

void ClientArea::resizeEvent(QResizeEvent*) {
  if (child_area_ != nullptr) child_area_->setGeometry(rect());
}

void ClientArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  p.fillRect(r, ColourOr(props_, prop::kBackgroundColour, palette().color(QPalette::Window)));
  PaintGradientOf(p, r, props_);
  PaintWallpaper(p, r, picture_, WallpaperModeOf(props_));
  if (painted_) painted_();
}

}  // namespace rt::qt
