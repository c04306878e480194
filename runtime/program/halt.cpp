#include "runtime/program/halt.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "runtime/value/text.h"

namespace rt {
namespace {

// Process-wide: the installed handler, empty for the default.
struct FatalRegistry {
  std::mutex mutex;
  FatalMessageHandler handler;  // GUARDED_BY(mutex)
};

FatalRegistry& Registry() {
  static FatalRegistry* registry = new FatalRegistry();  // never destroyed: usable at exit
  return *registry;
}

// Set by the first ending; later endings skip the handler.
std::atomic<bool> g_ending{false};

void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void WriteToStderr(const std::string& text) {
  std::string line = text + "\n";
  WriteAll(STDERR_FILENO, line.data(), line.size());
}

[[noreturn]] void End(FatalMessage message, bool show) {
  bool first = !g_ending.exchange(true);
  if (show) {
    FatalMessageHandler handler;
    if (first) {
      std::lock_guard<std::mutex> lock(Registry().mutex);
      handler = Registry().handler;
    }
    if (handler) {
      try {
        handler(message);
      } catch (...) {
        WriteToStderr(message.text);
      }
    } else {
      WriteToStderr(message.text);
    }
  }
  std::fflush(nullptr);
  std::quick_exit(message.exit_code);
}

}  // namespace

FatalMessageHandler SetFatalMessageHandler(FatalMessageHandler handler) {
  std::lock_guard<std::mutex> lock(Registry().mutex);
  return std::exchange(Registry().handler, std::move(handler));
}

void Halt(int exit_code, const std::string& text) {
  End(FatalMessage{FatalMessage::Kind::kHalt, exit_code, text}, !IsBlank(text));
}

void Stop(const std::string& text) {
  End(FatalMessage{FatalMessage::Kind::kStop, kStopExitCode, text}, true);
}

}  // namespace rt
