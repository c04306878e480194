// rt::Robot: the scripted user of the headless display, for tests (and the script runner).
//
// The robot acts as a user would: it moves and presses the mouse at points of a window (client
// pixels) or at the centre of a control found by label, presses keys, types, switches windows,
// and prepares the answers of the dialogs to come. After every action it waits until the
// runtime is idle (idle.h), so that what the action caused has happened when it returns. Each
// action returns a failure when it could not act (no such window or control, a window behind
// a modal one), when the runtime did not become idle within the display's timeout, or when a
// failure was recorded meanwhile (a dialog with no answer prepared, with the dialog's text).
//
// One robot per user thread (the test's own thread); not for use from runtime threads.
#ifndef RUNTIME_DISPLAY_HEADLESS_ROBOT_H_
#define RUNTIME_DISPLAY_HEADLESS_ROBOT_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/display/headless/headless_display.h"
#include "runtime/status/status.h"
#include "runtime/window/window.h"

namespace rt {

enum class MouseButton { kLeft, kRight };

class Robot {
 public:
  // `display` must outlive the robot.
  explicit Robot(HeadlessDisplay& display);

  // Waits until idle; reports failures recorded since the last action.
  Status WaitIdle();

  // The open window whose title (Text) or label is `name` (case-insensitive; the most recently
  // opened one when several match), 0 when none.
  WindowRef FindWindowNamed(std::string_view name) const;
  // The window with the focus, 0 for none.
  WindowRef Focused() const;

  // The mouse at (x, y), client pixels of `window`.
  Status Move(WindowRef window, int x, int y);
  Status Press(MouseButton button, WindowRef window, int x, int y);
  Status Release(MouseButton button, WindowRef window, int x, int y);
  Status Click(MouseButton button, WindowRef window, int x, int y);
  Status DoubleClick(WindowRef window, int x, int y);

  // The same at the centre of the control labelled `control` (e.g. "?OKBUTTON") in `window`
  // (0: the window with the focus, else the most recently opened window that has the label).
  Status Move(std::string_view control, WindowRef window = 0);
  Status Press(MouseButton button, std::string_view control, WindowRef window = 0);
  Status Release(MouseButton button, std::string_view control, WindowRef window = 0);
  Status Click(MouseButton button, std::string_view control, WindowRef window = 0);
  Status DoubleClick(std::string_view control, WindowRef window = 0);

  // A key (keycode with modifier bits, keycodes.h) to the window with the focus; a key without
  // Ctrl or Alt that types a character types it too.
  Status Key(int keycode);
  // Types `text` into the window with the focus, one key per character.
  Status Type(std::string_view text);
  // Gives the focus to `window` from outside (as clicking another application's window would
  // take it away from the runtime's windows).
  Status Activate(WindowRef window);
  // The user drags `window`'s frame until its client area is `width` by `height` pixels (the
  // window's size limits apply, as on a screen).
  Status Resize(WindowRef window, int width, int height);
  // Clicks tab `tab` (1-based) of sheet `sheet` (a label), in `window` or, when 0, in the
  // window that has such a visible sheet (as Locate finds controls).
  Status ChooseTab(std::string_view sheet, int tab, WindowRef window = 0);
  // Drops down the list of drop list or combo `control` and clicks row `row` (1-based).
  Status ChooseRow(std::string_view control, int row, WindowRef window = 0);
  // Chooses the menu item whose text (with its "&" marks removed, case ignored) or label is
  // `item`, in `window`'s menu bar or, when `window` is 0, in the newest window that has one.
  Status ChooseMenu(std::string_view item, WindowRef window = 0);

  // Answers prepared for the next dialogs of each kind (see HeadlessDisplay).
  void AnswerMessage(int button, std::string expect = "");
  void AnswerPopup(int item, std::string expect = "");
  void AnswerColour(std::optional<int64_t> colour);  // nullopt: cancel
  void AnswerFile(std::optional<std::string> file);  // nullopt: cancel

  // The state of every window as JSON (state_dump.h).
  std::string DumpJson() const;

  // Closes the program down (close-down to every window) and waits for every runtime thread to
  // end.
  Status Quit();

  // Where the centre of `control` lies: its window and client point. Fails when no window has
  // such a visible control.
  Status Locate(std::string_view control, WindowRef window, WindowRef* found, int* x, int* y) const;

 private:
  // Locate, and the control's field equate in the window found.
  Status LocateField(std::string_view control, WindowRef window, WindowRef* found, int* feq, int* x,
                     int* y) const;
  Status Settle(Status acted);
  Status MouseTo(WindowRef window, int x, int y);
  Status Button(MouseButton button, bool down, bool double_click, WindowRef window, int x, int y);

  HeadlessDisplay& display_;
  // The pointer: its window and client point, as last moved there.
  WindowRef pointer_window_ = 0;
  int pointer_x_ = -1;
  int pointer_y_ = -1;
  bool left_down_ = false;
  bool right_down_ = false;
};

}  // namespace rt

#endif  // RUNTIME_DISPLAY_HEADLESS_ROBOT_H_
