// rt::qt::ControlView: the widget of one control and how the control's state reaches it.
//
// Each control kind has the matching Qt widget (buttons, line edits, plain text edits, combo
// boxes, the list view, group boxes, check boxes, radio buttons, spin boxes) or a painted one
// (painted_widgets.h); tabs, menus and menu items have no widget of their own (the sheet
// shows its tabs, the window its menu bar). Every widget is a direct child of the window's
// client area at the control's pixel rectangle, since positions are client-relative whatever
// holds the control; containers are stacked below what they hold.
//
// Widgets only show: they take no input themselves (input.h turns input into messages), so
// what they show is always the model's state. GUI thread only.
#ifndef RUNTIME_DISPLAY_QT_CONTROL_VIEW_H_
#define RUNTIME_DISPLAY_QT_CONTROL_VIEW_H_

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "runtime/display/qt/control_style.h"
#include "runtime/display/qt/list_view.h"
#include "runtime/display/qt/painted_widgets.h"
#include "runtime/display/qt/painting.h"
#include "runtime/window/window.h"

namespace rt::qt {

// What a control's apply needs from its window.
struct ControlContext {
  const WindowState& window;
  const Window* model = nullptr;  // list sources; may be null (then no rows)
  bool enabled = true;            // neither it, its window nor a container is disabled
  const ControlState* parent = nullptr;
  std::vector<const ControlState*> children;  // in field-equate order (a sheet's tabs)
};

// A spin box that shows the model's text and its range.
class SpinView : public QAbstractSpinBox {
 public:
  explicit SpinView(QWidget* parent);
  void SetRange(std::optional<double> low, std::optional<double> high, double value);
  void SetText(const QString& text);
  // Which arrow lies under a point of the spin box: +1 up, -1 down, 0 none.
  int ArrowAt(const QPoint& point) const;

 protected:
  StepEnabled stepEnabled() const override;

 private:
  std::optional<double> low_, high_;
  double value_ = 0;
};

// An option or group box: the style's frame and caption and, inside the frame around the area
// the box holds, its bevel (painting.h). The bevel starts below the caption, so a wide bevel
// never covers the caption's text.
class GroupView : public QGroupBox {
 public:
  explicit GroupView(QWidget* parent);
  void SetBevel(const Bevel& bevel);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Bevel bevel_;
};

class ControlView {
 public:
  // The user chose row `row` (1-based) in a drop-down's list.
  using RowChosen = std::function<void(int feq, int row)>;

  ControlView(const ControlState& c, QWidget* client, RowChosen row_chosen);
  ~ControlView();
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  ControlType type() const { return type_; }
  int feq() const { return feq_; }
  QWidget* widget() const { return widget_; }

  void Apply(const ControlState& c, const ControlContext& ctx);

  // The parts input needs to tell apart (null when the control is not of that kind).
  SheetWidget* sheet() const;
  SpinView* spin() const;
  QComboBox* drop_down() const;
  ListView* list() const;

 private:
  void ApplyCommon(const ControlState& c, const ControlContext& ctx);
  void ApplyKind(const ControlState& c, const ControlContext& ctx);

  const ControlType type_;
  const int feq_;
  QPointer<QWidget> widget_;
};

// Whether controls of `type` have a widget.
bool HasWidget(ControlType type);

// The rows a list, drop list, combo or spin shows: its list source, else its choice list.
std::vector<std::vector<QString>> RowsOf(const ControlState& c, const ControlContext& ctx,
                                         int columns);

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_CONTROL_VIEW_H_
