// rt::Display: what shows the runtime's windows to a user and brings the user's input back.
//
// A display mirrors the window model (it observes every window: WindowObserver), answers
// dialog requests, and feeds input in as OS-style messages (runtime/event/input.h). It runs on
// the process's main thread: rt::Run (run.h) makes one, installs it and calls its Run, which
// starts the program on a runtime thread and returns when the program has ended.
//
// Two kinds exist: the headless display (headless/, deterministic, scripted) and the Qt
// display (qt/). Observer callbacks run on the thread that changed the window and must not
// block; ShowDialog is called on the asking thread and must lead to exactly one Answer, also
// when the display ends before the user answered (then with NoChoice).
#ifndef RUNTIME_DISPLAY_DISPLAY_H_
#define RUNTIME_DISPLAY_DISPLAY_H_

#include <functional>
#include <memory>

#include "runtime/dialog/dialog_request.h"
#include "runtime/window/window.h"

namespace rt {

class Display : public WindowObserver {
 public:
  ~Display() override = default;

  // On the main thread: starts `program` on a new runtime thread (thread 1 when it is the
  // first), shows windows and takes input until the program has ended, then returns the exit
  // code (0 when the program returned normally).
  virtual int Run(const std::function<void()>& program) = 0;

  // Shows the dialog of `call` and answers it, now or later, from any thread.
  virtual void ShowDialog(std::shared_ptr<DialogCall> call) = 0;

  // WindowObserver: by default a display ignores model changes.
  void WindowOpened(WindowRef) override {}
  void WindowChanged(WindowRef) override {}
  void WindowClosed(WindowRef) override {}
};

// Installs `display` as the process's display (null: none) and as the window observer.
// Returns the display installed before. Process-wide, guarded by a mutex.
std::shared_ptr<Display> SetDisplay(std::shared_ptr<Display> display);
// The installed display, null when none.
std::shared_ptr<Display> CurrentDisplay();

}  // namespace rt

#endif  // RUNTIME_DISPLAY_DISPLAY_H_
