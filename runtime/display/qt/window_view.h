// rt::qt::WindowView: the widgets of one runtime window.
//
// A window is a shell (menu bar, client area, status bar, top to bottom) that is either a
// top-level widget or, for a child of the application frame (MdiChild) while a frame is open,
// the widget of a sub-window in the frame's child area (a QMdiArea, which also tiles,
// cascades and lines up the children). The model's window rectangle is the shell's position
// (on the screen, or in the frame's child area) and the client area's size. Controls are
// children of the client area (control_view.h).
//
// GUI thread only. The view tells its host what the user did to the window itself (close,
// move, resize, activate, menu commands) and never changes the model.
#ifndef RUNTIME_DISPLAY_QT_WINDOW_VIEW_H_
#define RUNTIME_DISPLAY_QT_WINDOW_VIEW_H_

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <QStatusBar>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/display/qt/control_view.h"
#include "runtime/display/qt/painted_widgets.h"
#include "runtime/window/window.h"

namespace rt::qt {

class WindowView;

// What a view reports, and what it needs to know about the other windows.
class ViewHost {
 public:
  virtual ~ViewHost() = default;
  // The application frame whose child area takes MDI children; null when none is shown.
  virtual WindowView* Frame() = 0;
  // The user asked to close the window (its close button, the window manager).
  virtual void CloseRequested(WindowRef ref) = 0;
  // The user or an arrangement moved or resized the window: its new model rectangle (pixels).
  virtual void GeometryChanged(WindowRef ref, const Rect& rect) = 0;
  // A menu item of the window was chosen.
  virtual void MenuChosen(WindowRef ref, int feq) = 0;
  // A row was chosen in the drop-down list of a control.
  virtual void RowChosen(WindowRef ref, int feq, int row) = 0;
  // The window manager or the frame activated the window.
  virtual void Activated(WindowRef ref) = 0;
  // The pointer is over a menu item (feq), or left the menus (0).
  virtual void MenuHovered(WindowRef ref, int feq) = 0;
  // The window's client area was painted (for counting paints).
  virtual void ClientPainted(WindowRef ref) = 0;
  // Whether client areas are windows of the display server of their own, named
  // "twiqrt:LABEL", for tools that drive the program from outside (xdotool).
  virtual bool NativeClients() const { return false; }
};

class WindowView : public QObject {
 public:
  WindowView(WindowRef ref, ViewHost& host);
  ~WindowView() override;

  WindowRef ref() const { return ref_; }
  // Applies a snapshot. `model` gives the list sources (may be null). Returns the number of
  // controls that have widgets.
  int Apply(const WindowState& state, const Window* model);
  // Shows or hides the window (it shows once its owner opened it, unless Hidden).
  void SetShown(bool shown);
  bool shown() const { return shown_; }

  bool is_frame() const { return mdi_ != nullptr; }
  bool is_mdi_child() const { return mdi_child_; }
  QMdiArea* mdi_area() const { return mdi_; }
  QMdiSubWindow* sub_window() const { return sub_; }
  ClientArea* client() const { return client_; }
  QWidget* shell() const { return shell_; }
  // The widget that is the window to the user: the sub-window or the top-level shell.
  QWidget* outer() const;
  QMenuBar* menu_bar() const { return menu_bar_; }
  bool has_status_bar() const { return status_ != nullptr; }
  void SetStatusText(const QString& text);
  QString status_text() const;

  // Gives the user's focus to the window and Qt's focus to control `feq` (0: the client area).
  void ShowFocus(int feq);

  // The control whose widget is `w` or holds it, null when none.
  ControlView* ControlOf(const QWidget* w) const;
  ControlView* Control(int feq) const;
  const WindowState& state() const { return state_; }

  // Moves the window into the frame's child area or out of it, as the frame comes and goes.
  void Rehost();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus(const WindowState& s);
  void ApplyFrame(const WindowState& s);
  void ApplyGeometry(const Rect& r);
  // The user's resizing limits: fixed unless resizable, else the model's minimum and maximum
  // client size plus the frame, menu bar and status bar around the client area.
  void ApplyLimits();
  void ReportGeometry();

  const WindowRef ref_;
  ViewHost& host_;
  QPointer<QWidget> shell_;
  ClientArea* client_ = nullptr;
  QMenuBar* menu_bar_ = nullptr;
  QStatusBar* status_ = nullptr;
  QMdiArea* mdi_ = nullptr;
  QPointer<QMdiSubWindow> sub_;
  QWidget* outer_ = nullptr;  // sub_ when there is one, else shell_
  bool mdi_child_ = false;
  bool shown_ = false;
  bool applying_ = false;
  bool named_ = false;  // the native client area carries the window's label
  Rect applied_rect_;
  std::string menu_signature_;
  std::string icon_key_;  // the icon file as last set, and where
  std::map<int, std::unique_ptr<ControlView>> controls_;
  std::vector<int> stacking_;
  WindowState state_;
};

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_WINDOW_VIEW_H_
