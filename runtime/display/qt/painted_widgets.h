// Controls Qt has no widget for, painted from their properties: strings and prompts, regions
// (grab handles among them), boxes, ellipses, lines, images, panels, toolbars and the sheet
// of tabs; and the client area of a window.
//
// Each widget keeps a copy of the properties it paints from and repaints only when they
// change. Colours (control_style.h): an absent or "no colour" property leaves the style's
// colour. GUI thread only.
#ifndef RUNTIME_DISPLAY_QT_PAINTED_WIDGETS_H_
#define RUNTIME_DISPLAY_QT_PAINTED_WIDGETS_H_

#include <QPixmap>
#include <QTabBar>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "runtime/display/qt/control_style.h"
#include "runtime/window/control_type.h"
#include "runtime/window/metrics.h"

namespace rt::qt {

// What a painted control shows. For each kind:
// - string, string with picture, prompt: `text` in the control's font and FontColour, with
//   its justification; the background is BackgroundColour unless Transparent. Prompts show
//   "&" as the mnemonic underline.
// - region: nothing unless it says otherwise: a gradient, a FillColour, a bevel. A region with
//   HandleFrame (7CE7h) is a grab handle: filled with FillColour (red when absent) inside a
//   one-pixel border of BackgroundColour (black when absent).
// - box and ellipse: filled with the gradient or FillColour when set, outlined in one pixel of
//   FontColour (black when absent).
// - line: from the top-left to the bottom-right corner of its rectangle (`rising`: from the
//   bottom-left to the top-right), in FontColour (black when absent).
// - image: the picture file named by its text, stretched, centred or tiled as the wallpaper
//   flags say.
// - panel: FillColour (else the style's window colour), then the gradient, then the
//   wallpaper, framed by its bevel (BevelOuter 7CE4h, BevelInner 7CE5h, BevelStyle 7CE6h; see
//   painting.h). Like every property, a bevel never set is 0, so a panel looks the same
//   whether its settings were applied from a record or never touched.
// - toolbar: the style's button colour (or BackgroundColour), gradient and wallpaper, with a
//   dark line along its bottom edge.
struct PaintedState {
  ControlType type = ControlType::kRegion;
  Properties props;
  QString text;
  FontMetrics metrics;
  bool rising = false;
  bool enabled = true;
  friend bool operator==(const PaintedState& a, const PaintedState& b) {
    return a.type == b.type && a.props == b.props && a.text == b.text &&
           a.metrics.char_width == b.metrics.char_width &&
           a.metrics.char_height == b.metrics.char_height && a.rising == b.rising &&
           a.enabled == b.enabled;
  }
};

class PaintedWidget : public QWidget {
 public:
  explicit PaintedWidget(QWidget* parent);
  void SetState(PaintedState state);
  const PaintedState& state() const { return state_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintText(QPainter& p, const QRect& r);
  void PaintShape(QPainter& p, const QRect& r);
  void PaintPanel(QPainter& p, QRect r);
  // The picture of `path` (loaded once per path).
  const QPixmap& Picture(const std::string& path);

  PaintedState state_;
  std::string picture_path_;
  QPixmap picture_;
};

// A sheet: its tab strip (the texts of its tabs, one selected) above a framed body. The
// sheet's tabs and their controls are sibling widgets drawn over the body.
class SheetWidget : public QWidget {
 public:
  explicit SheetWidget(QWidget* parent);
  // `selected` is 1-based.
  void SetTabs(const std::vector<QString>& texts, int selected);
  // The 1-based tab under a point of the sheet, 0 for none.
  int TabAt(const QPoint& point) const;
  QTabBar* bar() const { return bar_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTabBar* bar_;
  std::vector<QString> texts_;
};

// The client area of a window: the window's BackgroundColour (else the style's window
// colour), gradient and wallpaper, under the controls (and, in an application frame, the
// area that holds its child windows, kept at the full size of the client area).
class ClientArea : public QWidget {
 public:
  explicit ClientArea(QWidget* parent);
  void SetWindowProperties(const Properties& props);
  void SetChildArea(QWidget* area);  // the frame's area of child windows, or null
  // Called after each paint of the area.
  void SetPaintedCallback(std::function<void()> painted) { painted_ = std::move(painted); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Properties props_;
  std::string picture_path_;
  QPixmap picture_;
  QWidget* child_area_ = nullptr;
  std::function<void()> painted_;
};

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_PAINTED_WIDGETS_H_
