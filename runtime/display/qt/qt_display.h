// rt::QtDisplay: the runtime's windows as real Qt 6 windows.
//
// Threads. The display runs on the process's main thread, the GUI thread, which owns every
// widget; runtime threads never touch a widget. Model changes (WindowObserver, called on the
// changing thread) reach the GUI thread as queued calls, already coalesced per window by the
// model, and are applied to the widgets in one pass, a frame, that Qt then paints once. While
// a window's updates are locked (LockWindowUpdate) its changes are held back; the unlock shows
// them in one frame. A window appears once its owner thread has put it on its window stack
// (rt::Open), so it is never seen half built.
//
// What shows how is the business of window_view.h (windows: MDI frame with menu bar and
// status bar, children in its child area, ordinary and modal windows) and control_view.h
// (controls); input_router.h says how input becomes OS-style messages for the owning runtime
// thread, dialogs.h how dialog requests are shown. The display itself performs the standard
// frame actions of menus (std_actions.h) and follows the runtime's focus, mouse capture and
// named cursor (SETCURSOR).
//
// Run returns when the program procedure has ended and every other runtime thread has closed
// down (or the close-down timeout passed). Requests that arrive when the display is not
// running are failed at once (dialogs answered with no choice), never left waiting.
//
// Selected with TWIQRT_DISPLAY=qt or when a display server is reachable (run.h): the runtime
// registers this display with rt::Run when it is built with Qt. With QT_QPA_PLATFORM=offscreen
// it draws into memory, for tests and screenshots. With TWIQRT_QT_NATIVE_CLIENTS=1 every
// window's client area is a window of the display server of its own, named "twiqrt:LABEL"
// (the window's label), whose origin is the client point (0, 0): tools that drive the program
// from outside (xdotool) find windows, MDI children included, and click at model coordinates.
#ifndef RUNTIME_DISPLAY_QT_QT_DISPLAY_H_
#define RUNTIME_DISPLAY_QT_QT_DISPLAY_H_

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/display/display.h"
#include "runtime/status/status.h"

namespace rt {

// Exit code of a run after which runtime threads were still running.
inline constexpr int kThreadsLeftExitCode = 3;

// Pixels of a picture: 0xAARRGGBB, row by row from the top-left corner.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  // The pixel at (x, y); 0 outside the picture.
  uint32_t At(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? 0 : pixels[size_t(y) * width + x];
  }
  // The same as a runtime colour value (red in the lowest byte), alpha dropped.
  int64_t ColourAt(int x, int y) const {
    const uint32_t p = At(x, y);
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
  }
};

class QtDisplay : public Display {
 public:
  struct Options {
    // How long Run waits for runtime threads to close down once the program has ended.
    std::chrono::milliseconds close_down_timeout{10000};
    // How often the display looks at the input state (windows put on their stack, the focus,
    // the cursor) without being told of a change; zero: only when told. A backstop: the
    // runtime announces every such change.
    std::chrono::milliseconds recheck_interval{250};
  };

  // Creates the process's QApplication from `argc`/`argv` if there is none.
  // REQUIRES: on the main thread.
  QtDisplay(int argc, char** argv);
  QtDisplay(int argc, char** argv, Options options);
  // REQUIRES: on the main thread, not while Run runs.
  ~QtDisplay() override;

  // Display. REQUIRES for Run: on the main thread.
  int Run(const std::function<void()>& program) override;
  void ShowDialog(std::shared_ptr<DialogCall> call) override;
  void WindowOpened(WindowRef ref) override;
  void WindowChanged(WindowRef ref) override;
  void WindowClosed(WindowRef ref) override;
  void InputStateChanged() override;

  // While Run runs, from any thread (each call waits for the GUI thread; fails when the
  // display is not running):
  // Shows every change made so far: windows opened on their thread appear, held changes of
  // unlocked windows are applied.
  Status Settle();
  // The client area of window `ref` as shown (after Settle), pixel (x, y) at the window's
  // client point (x, y). Fails for a window that is not shown.
  Status Grab(WindowRef ref, Image* out);
  // Whether window `ref` is shown now, without first showing pending changes (unlike Settle).
  bool Shown(WindowRef ref);
  // A PNG picture of the whole window (title of a child window, menu bar, status bar).
  Status SaveScreenshot(WindowRef ref, const std::string& png_path);

  // Frames shown for window `ref` (since it opened), and the number of controls with widgets
  // in each, oldest first: a window opened and filled while locked shows one frame, full.
  // Thread-safe at any time.
  int64_t Frames(WindowRef ref) const;
  std::vector<int> FrameSizes(WindowRef ref) const;

  // The scripted user of this display (qt_user.h) reaches its widgets through this.
  class Impl;
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// Registers the Qt display with rt::Run and the screenshot service (runtime/display/
// screenshot.h). Done when the runtime library loads; calling it again does nothing.
void RegisterQtDisplayWithRuntime();

}  // namespace rt

#endif  // RUNTIME_DISPLAY_QT_QT_DISPLAY_H_
