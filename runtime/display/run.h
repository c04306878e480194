// Program start: the host's main() hands its program procedure to the runtime.
//
//   void ProgramMain() { ... open the frame, run its loop ... }
//   int main(int argc, char** argv) { return rt::Run(argc, argv, ProgramMain); }
//
// Run picks the display, installs it, and runs it on the calling (main) thread; the display
// starts the program on runtime thread 1 (the first runtime thread of the process) and returns
// when the program has ended, after every other runtime thread has closed down. The display is
// chosen by the runtime's own setting, the environment variable TWIQRT_DISPLAY:
//   qt            the Qt display
//   headless      the headless display with no user (dialogs answered with no choice)
//   script:FILE   the headless display driven by the script FILE (docs/scripting.md)
// and when it is not set: the Qt display when a display server is reachable (DISPLAY or
// WAYLAND_DISPLAY names a server whose socket exists), else the headless display. When the Qt
// display is asked for or chosen but not part of the program, Run falls back to the headless
// display with a note on standard error. Any other value is an error (exit code 2).
#ifndef RUNTIME_DISPLAY_RUN_H_
#define RUNTIME_DISPLAY_RUN_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "runtime/display/display.h"

namespace rt {

// Exit code of a run whose TWIQRT_DISPLAY setting is not understood.
inline constexpr int kBadDisplaySettingExitCode = 2;

// Runs `program` under the chosen display; returns the exit code for main() to return.
// REQUIRES: called once, on the process's main thread.
int Run(int argc, char** argv, std::function<void()> program);
int Run(std::function<void()> program);

// How the Qt display joins a program: its library registers a factory (for example from a
// function the program calls before Run). Thread-safe.
using DisplayFactory = std::function<std::shared_ptr<Display>(int argc, char** argv)>;
void RegisterQtDisplay(DisplayFactory factory);

// The choice Run makes, for tests: the display kind for a TWIQRT_DISPLAY value (nullopt for
// unset) and whether a display server is reachable.
struct DisplayChoice {
  enum class Kind { kQt, kHeadless, kScript, kInvalid };
  Kind kind = Kind::kHeadless;
  std::string script;  // kScript: the file
  std::string note;    // why, when it is not what was asked for (printed to standard error)
};
DisplayChoice ChooseDisplay(const std::optional<std::string>& setting, bool server_reachable,
                            bool qt_available);
// True when DISPLAY or WAYLAND_DISPLAY (of the environment) names a server that can be reached.
bool DisplayServerReachable();

}  // namespace rt

#endif  // RUNTIME_DISPLAY_RUN_H_
