// The headless display: no pixels, fully deterministic.
//
// It mirrors nothing on a screen; windows live only in the model, so a state dump
// (state_dump.h) shows everything a user would see. Input comes from a scripted user: the
// Robot (robot.h) in tests, or a script file (script.h) when rt::Run is given
// TWIQRT_DISPLAY=script:FILE.
//
// Dialogs are answered at once, on the asking thread, from answers prepared beforehand (one
// queue per kind of dialog, taken in order). A dialog that arrives with no answer prepared, or
// whose text is not the one the answer expects, is a failure: it is recorded with the dialog's
// text (the robot reports it from its next step) and written to standard error, and the dialog
// is answered with "no choice" so that nothing waits forever. Without a scripted user
// (TWIQRT_DISPLAY=headless) no answer is ever prepared: every dialog is written to standard
// error and answered with no choice, and nothing counts as a failure.
//
// Thread-safe: runtime threads ask for dialogs and change windows while the user's thread
// prepares answers and reads failures.
#ifndef RUNTIME_DISPLAY_HEADLESS_HEADLESS_DISPLAY_H_
#define RUNTIME_DISPLAY_HEADLESS_HEADLESS_DISPLAY_H_

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "runtime/display/display.h"

namespace rt {

// Exit code of a run whose script failed (a step failed or a dialog had no answer).
inline constexpr int kScriptFailedExitCode = 3;

// An answer prepared for the next dialog of its kind.
struct PreparedAnswer {
  DialogKind kind = DialogKind::kMessage;
  DialogAnswer answer;
  // When not empty, the dialog's text (message text, pop-up menu text, title) must contain it.
  std::string expect;
};

class HeadlessDisplay : public Display {
 public:
  struct Options {
    // Dialogs without a prepared answer fail (a scripted user is present).
    bool scripted = true;
    // The script to run (TWIQRT_DISPLAY=script:FILE); empty for none.
    std::string script_path;
    // Limit of every wait (for idleness, for threads to end).
    std::chrono::milliseconds timeout{10000};
  };

  HeadlessDisplay();
  explicit HeadlessDisplay(Options options);

  const Options& options() const { return options_; }

  // Display: starts `program` on a runtime thread; runs the script if there is one (and then
  // closes the program down), else waits for the program to end; then closes down the threads
  // still running. Returns 0, or kScriptFailedExitCode when the script failed.
  int Run(const std::function<void()>& program) override;
  void ShowDialog(std::shared_ptr<DialogCall> call) override;
  void WindowOpened(WindowRef ref) override;
  void WindowChanged(WindowRef ref) override;
  void WindowClosed(WindowRef ref) override;

  // Prepares the answer to the next dialog of `answer.kind`.
  void Prepare(PreparedAnswer answer);
  // Answers prepared and not yet used.
  size_t PreparedCount() const;
  // Takes (and clears) the failures recorded since the last call.
  std::vector<std::string> TakeFailures();
  // Every dialog shown so far, described (DialogRequest::Describe), oldest first.
  std::vector<std::string> DialogHistory() const;
  // Number of times a window's changes were shown (announced by the model and taken).
  int64_t Paints(WindowRef ref) const;

 private:
  void Fail(std::string failure);

  const Options options_;
  mutable std::mutex mu_;
  std::deque<PreparedAnswer> prepared_;  // guarded by mu_
  std::vector<std::string> failures_;    // guarded by mu_
  std::vector<std::string> history_;     // guarded by mu_
  std::map<WindowRef, int64_t> paints_;  // guarded by mu_
};

}  // namespace rt

#endif  // RUNTIME_DISPLAY_HEADLESS_HEADLESS_DISPLAY_H_
