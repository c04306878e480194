// Program services of the runtime: the executable's path (argument 0) and the bell.
#ifndef RUNTIME_PROGRAM_PROGRAM_H_
#define RUNTIME_PROGRAM_PROGRAM_H_

#include <functional>
#include <string>

namespace rt {

// Argument 0 of the program: the full path of the running executable as the operating system
// reports it (/proc/self/exe), whatever the command line, argv[0] and the current folder.
// Symbolic links are resolved. Returns "" only when the system cannot tell (no /proc).
// Thread safe.
std::string ExecutablePath();

// Sounds the bell. `frequency` (Hz) and `duration` (ms) are hints for a handler that can
// honour them; a terminal bell cannot. Never fails and never blocks for long. Thread safe.
// The default sounding writes "\a" to standard error when it is a terminal, else nothing.
void Beep(int frequency = 0, int duration = 0);

// Replaces how Beep() sounds (a display installs its own). An empty handler restores the
// default. Returns the previous handler (empty for the default). The handler runs on the
// thread that called Beep(), outside any lock of the runtime; it must be thread safe and
// must not throw (exceptions are swallowed). Process-wide; guarded by a mutex.
using BeepHandler = std::function<void(int frequency, int duration)>;
BeepHandler SetBeepHandler(BeepHandler handler);

}  // namespace rt

#endif  // RUNTIME_PROGRAM_PROGRAM_H_
