// Scripts of the headless display's scripted user (TWIQRT_DISPLAY=script:FILE).
//
// A script is a text file of commands, one per line; docs/scripting.md describes them. The
// whole script is parsed before anything runs, so a command that does not exist (or has the
// wrong arguments) is reported with its line number and nothing is done. Running stops at the
// first command that fails; the failure names the line and the command.
#ifndef RUNTIME_DISPLAY_HEADLESS_SCRIPT_H_
#define RUNTIME_DISPLAY_HEADLESS_SCRIPT_H_

#include <string>
#include <string_view>
#include <vector>

#include "runtime/status/status.h"

namespace rt {

class Robot;

// One parsed command: its line, its name and its arguments (quotes removed).
struct ScriptCommand {
  int line = 0;
  std::string name;
  std::vector<std::string> args;
};

// Parses `text` into `commands`. Fails with "line N: ..." at the first line that is not a
// command with valid arguments.
Status ParseScript(std::string_view text, std::vector<ScriptCommand>* commands);

// Runs `commands` with `robot`. Ends at the first failure ("line N: COMMAND: why") or after a
// "quit" command, which closes the program down.
Status RunScript(const std::vector<ScriptCommand>& commands, Robot& robot);

}  // namespace rt

#endif  // RUNTIME_DISPLAY_HEADLESS_SCRIPT_H_
