// Ending the program with a message: HALT and STOP.
//
// Both show their text through the process-wide fatal-message handler, then end the process.
// A display installs a handler that shows the text in a message box and returns once the
// user has closed it; the default handler writes the text and a newline to standard error.
//
// Ending: standard output and error streams are flushed, then the process ends through
// std::quick_exit with the exit code, which runs the at_quick_exit handlers but no static
// destructors, so threads of the runtime that are still running never see destroyed
// process-wide state.
//
// Only one ending shows its message: a Halt or Stop called while another one's handler runs
// (from inside the handler or from another thread) writes its text to standard error and ends
// the process at once with its own exit code, so an ending can never deadlock on a display
// that is itself ending.
#ifndef RUNTIME_PROGRAM_HALT_H_
#define RUNTIME_PROGRAM_HALT_H_

#include <functional>
#include <string>

namespace rt {

// Exit code of Stop(): the program did not end normally.
inline constexpr int kStopExitCode = 1;

struct FatalMessage {
  enum class Kind { kHalt, kStop };
  Kind kind;
  int exit_code;     // the code the process is about to end with
  std::string text;  // the text as given; Halt never passes a blank one
};

// Called with the message before the process ends; it runs on the thread that called Halt or
// Stop and may block (a modal message box). It must not throw (exceptions are swallowed) and
// need not return quickly. Whatever it does, the process ends after it returns.
using FatalMessageHandler = std::function<void(const FatalMessage& message)>;

// Installs `handler`; an empty one restores the default (text to standard error). Returns
// the previous handler (empty for the default). Process-wide; guarded by a mutex; safe to
// call from any thread, including from a handler.
FatalMessageHandler SetFatalMessageHandler(FatalMessageHandler handler);

// Ends the program with `exit_code`. A `text` that is not blank is shown first; a blank one
// shows nothing. Never returns.
[[noreturn]] void Halt(int exit_code, const std::string& text = std::string());

// Shows `text` (always, even when blank) and ends the program with kStopExitCode.
// Never returns.
[[noreturn]] void Stop(const std::string& text);

}  // namespace rt

#endif  // RUNTIME_PROGRAM_HALT_H_
