// rt::qt::InputRouter: the application-wide event filter that turns the user's pointer and
// keyboard input on the runtime's windows into OS-style messages (runtime/event/input.h).
//
// - Mouse input over a window's client area (its controls included) becomes mouse messages
//   for that window at client-relative pixels, and does not reach the widgets: what a press
//   means is the window procedure's to decide. While a runtime window holds the mouse
//   capture, every mouse event of the runtime's windows (title bars and menu bars too) is
//   taken the same way; the runtime sends it to the capturing window.
// - Without a capture, three native parts still act after their message is sent, because the
//   runtime has no message for them: a press on a drop-down's button opens its list (choosing
//   a row is told to the owner, see ViewHost::RowChosen), a press on a sheet's tab selects the
//   tab (TabChosen), and a press on a spin box's arrow steps it as the Up or Down key does.
//   Spin arrows and buttons with a Repeat property repeat while held (Delay first).
// - Keys pressed in any runtime window become key messages (keymap.h) and typed characters
//   for the window with the runtime's focus; menu bars keep their own keyboard navigation.
//   Wheel and context-menu events of client areas are swallowed.
//
// GUI thread only.
#ifndef RUNTIME_DISPLAY_QT_INPUT_ROUTER_H_
#define RUNTIME_DISPLAY_QT_INPUT_ROUTER_H_

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "runtime/display/qt/window_view.h"

class QKeyEvent;
class QMouseEvent;

namespace rt::qt {

class InputRouter : public QObject {
 public:
  // Finds the view a widget belongs to (null for widgets of no runtime window, such as
  // dialogs and pop-up lists).
  using ViewOf = std::function<WindowView*(const QWidget*)>;
  // A tab of a sheet was pressed: (window, sheet, 1-based tab).
  using TabChosen = std::function<void(WindowRef, int, int)>;

  InputRouter(ViewOf view_of, TabChosen tab_chosen);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Mouse(QWidget* w, QMouseEvent* e);
  bool Key(QWidget* w, QKeyEvent* e);
  void StartRepeat(int delay_ms, int repeat_ms, std::function<void()> action);
  void StopRepeat();

  ViewOf view_of_;
  TabChosen tab_chosen_;
  QTimer repeat_;
  std::function<void()> repeat_action_;
  int repeat_interval_ = 100;
};

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_INPUT_ROUTER_H_
