#include "runtime/display/headless/headless_display.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "runtime/dialog/dialog.h"
#include "runtime/display/headless/robot.h"
#include "runtime/display/headless/script.h"
#include "runtime/event/accept.h"
#include "runtime/event/idle.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/program/halt.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

// The text an answer's `expect` is matched against.
const std::string& MatchedText(const DialogRequest& r) {
  return (r.kind == DialogKind::kColour || r.kind == DialogKind::kFile) ? r.title : r.text;
}

const char* KindName(DialogKind kind) {
  switch (kind) {
    case DialogKind::kMessage:
      return "message box";
    case DialogKind::kPopup:
      return "pop-up menu";
    case DialogKind::kColour:
      return "colour dialog";
    case DialogKind::kFile:
      return "file dialog";
  }
  return "dialog";
}

// Waits for every runtime thread to end; the numbers of those still running.
std::vector<ThreadId> WaitForAllThreads(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (ThreadId id : RunningThreads()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    WaitForThreadEnd(id, std::max(left, std::chrono::milliseconds(0)));
  }
  return RunningThreads();
}

}  // namespace

HeadlessDisplay::HeadlessDisplay() : HeadlessDisplay(Options{}) {}
HeadlessDisplay::HeadlessDisplay(Options options) : options_(std::move(options)) {}

int HeadlessDisplay::Run(const std::function<void()>& program) {
  // Parse first: a script that does not parse fails before the program starts.
  std::vector<ScriptCommand> script;
  if (!options_.script_path.empty()) {
    std::ifstream in(options_.script_path);
    if (!in) {
      std::fprintf(stderr, "twiqrt: cannot read script %s\n", options_.script_path.c_str());
      return kScriptFailedExitCode;
    }
    std::stringstream text;
    text << in.rdbuf();
    Status parsed = ParseScript(text.str(), &script);
    if (!parsed.ok()) {
      std::fprintf(stderr, "twiqrt: %s: %s\n", options_.script_path.c_str(),
                   parsed.message().c_str());
      return kScriptFailedExitCode;
    }
  }
  // HALT and STOP show their text as a message box of this display.
  FatalMessageHandler previous = SetFatalMessageHandler([](const FatalMessage& m) {
    MessageBox(m.text, m.kind == FatalMessage::Kind::kHalt ? "Halt" : "Stop", "Hand");
  });
  const ThreadId program_thread = Start(program);
  int exit_code = 0;
  if (program_thread == 0) {
    exit_code = kScriptFailedExitCode;
  } else if (!options_.script_path.empty()) {
    Robot robot(*this);
    Status s = RunScript(script, robot);
    if (!s.ok()) {
      std::fprintf(stderr, "twiqrt: %s: %s\n", options_.script_path.c_str(), s.message().c_str());
      exit_code = kScriptFailedExitCode;
    }
    RequestCloseDown();
  } else {
    while (!WaitForThreadEnd(program_thread, std::chrono::hours(24))) {
    }
  }
  // The program has ended (or the script is done): every other thread closes down.
  RequestCloseDown();
  std::vector<ThreadId> left = WaitForAllThreads(options_.timeout);
  if (!left.empty()) {
    std::fprintf(stderr, "twiqrt: %zu runtime thread(s) did not end after close-down:\n%s",
                 left.size(), DescribeThreads().c_str());
    if (exit_code == 0) exit_code = kScriptFailedExitCode;
  }
  SetFatalMessageHandler(std::move(previous));
  return exit_code;
}

void HeadlessDisplay::ShowDialog(std::shared_ptr<DialogCall> call) {
  const DialogRequest& r = call->request();
  std::optional<PreparedAnswer> answer;
  {
    std::lock_guard lock(mu_);
    history_.push_back(r.Describe());
    for (auto it = prepared_.begin(); it != prepared_.end(); ++it) {
      if (it->kind == r.kind) {
        answer = std::move(*it);
        prepared_.erase(it);
        break;
      }
    }
  }
  if (!answer) {
    if (options_.scripted) {
      Fail(std::string(KindName(r.kind)) + " with no answer prepared: " + r.Describe());
    } else {
      std::fprintf(stderr, "twiqrt: %s (no user: answered with no choice)\n", r.Describe().c_str());
    }
    call->Answer(NoChoice(r));
    return;
  }
  if (!answer->expect.empty() && MatchedText(r).find(answer->expect) == std::string::npos) {
    Fail(std::string(KindName(r.kind)) + " does not say \"" + answer->expect +
         "\": " + r.Describe());
  }
  call->Answer(answer->answer);
}

void HeadlessDisplay::WindowOpened(WindowRef ref) {
  std::lock_guard lock(mu_);
  paints_[ref] = 0;
}

void HeadlessDisplay::WindowChanged(WindowRef ref) {
  // "Shows" the change: takes it, so the next change is announced again.
  if (std::shared_ptr<Window> w = FindWindow(ref)) w->TakeChanges();
  std::lock_guard lock(mu_);
  ++paints_[ref];
}

void HeadlessDisplay::WindowClosed(WindowRef ref) {
  std::lock_guard lock(mu_);
  paints_.erase(ref);
}

void HeadlessDisplay::Prepare(PreparedAnswer answer) {
  std::lock_guard lock(mu_);
  prepared_.push_back(std::move(answer));
}

size_t HeadlessDisplay::PreparedCount() const {
  std::lock_guard lock(mu_);
  return prepared_.size();
}

std::vector<std::string> HeadlessDisplay::TakeFailures() {
  std::lock_guard lock(mu_);
  return std::exchange(failures_, {});
}

std::vector<std::string> HeadlessDisplay::DialogHistory() const {
  std::lock_guard lock(mu_);
  return history_;
}

int64_t HeadlessDisplay::Paints(WindowRef ref) const {
  std::lock_guard lock(mu_);
  auto it = paints_.find(ref);
  return it == paints_.end() ? 0 : it->second;
}

void HeadlessDisplay::Fail(std::string failure) {
  std::fprintf(stderr, "twiqrt: headless display: %s\n", failure.c_str());
  std::lock_guard lock(mu_);
  failures_.push_back(std::move(failure));
}

}  // namespace rt
