// rt::QtUser: a scripted user of the Qt display, for tests.
//
// It acts through Qt as the window system would: pointer and key events are delivered to the
// widget under the point or with the focus (so they pass the display's input routing), menu
// items are triggered, dialogs are answered through their buttons. Probes read what the user
// sees: the cursor over a point, the status bar, paints of a window.
//
// Use it from a thread other than the GUI thread while the display runs (each call waits for
// the GUI thread); calls fail when the display is not running. `display` must outlive the
// user. Unlike the headless robot it does not wait for the runtime to become idle: call
// rt::WaitUntilIdle (idle.h) between actions when it matters.
#ifndef RUNTIME_DISPLAY_QT_QT_USER_H_
#define RUNTIME_DISPLAY_QT_QT_USER_H_

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/dialog/dialog_request.h"
#include "runtime/display/headless/robot.h"
#include "runtime/display/qt/qt_display.h"
#include "runtime/status/status.h"

namespace rt {

namespace qt {
class WindowView;
}  // namespace qt

enum class PointerAction { kMove, kPress, kRelease, kDoubleClick };

class QtUser {
 public:
  explicit QtUser(QtDisplay& display);

  // The pointer at client point (x, y) of window `ref` (points outside the client area reach
  // the client area itself, as while a button is held).
  Status Pointer(WindowRef ref, PointerAction action, MouseButton button, int x, int y);
  Status Click(WindowRef ref, int x, int y);
  // A key, written as Qt writes key sequences: "Ctrl+Alt+D", "Esc", "Shift+Tab", "F10", "A".
  Status Key(std::string_view sequence);
  // Types `text`, one key per character.
  Status Type(std::string_view text);
  // The window manager activates window `ref`.
  Status Activate(WindowRef ref);
  // Another application takes the focus.
  Status LeaveApplication();
  // Chooses menu item `feq` of window `ref`'s menu bar.
  Status ChooseMenuItem(WindowRef ref, int feq);
  // Drags the window's edge until its client area is width x height.
  Status ResizeClient(WindowRef ref, int width, int height);

  // Waits until a dialog is shown and gives its request.
  Status WaitForDialog(std::chrono::milliseconds timeout, DialogRequest* request);
  // Answers the dialog shown as a user would (see qt::AnswerDialog in dialogs.h).
  Status Answer(const DialogAnswer& answer);
  // Closes every dialog still shown without a choice (a test that stopped half-way).
  void DismissDialogs();

  // The name of the cursor shown over client point (x, y) of window `ref` ("Arrow", ...).
  std::string CursorAt(WindowRef ref, int x, int y);
  // The status bar of window `ref` ("" when it has none).
  std::string StatusText(WindowRef ref);
  // Lets Qt paint what is pending, then counts the paints of the window's client area.
  int64_t ClientPaints(WindowRef ref);
  // The family and style Qt draws for a control in font `face` (Qt's foundry suffix dropped).
  std::pair<std::string, std::string> DrawnFace(const std::string& face);

 private:
  // Runs `act` on the GUI thread on window `ref` when it is shown; its result, else why not.
  Status OnShownWindow(WindowRef ref, const std::function<Status(qt::WindowView&)>& act);

  QtDisplay& display_;
  int held_ = 0;  // Qt::MouseButtons held, as the events report them
};

}  // namespace rt

#endif  // RUNTIME_DISPLAY_QT_QT_USER_H_
