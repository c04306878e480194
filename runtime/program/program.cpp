#include "runtime/program/program.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <utility>
#include <vector>

namespace rt {
namespace {

// Process-wide: the installed bell, empty for the default.
struct BeepRegistry {
  std::mutex mutex;
  BeepHandler handler;  // GUARDED_BY(mutex)
};

BeepRegistry& Beeps() {
  static BeepRegistry* registry = new BeepRegistry();  // never destroyed: usable at exit
  return *registry;
}

void TerminalBell() {
  if (isatty(STDERR_FILENO) != 1) return;
  ssize_t written;
  do {
    written = write(STDERR_FILENO, "\a", 1);
  } while (written < 0 && errno == EINTR);
}

}  // namespace

std::string ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    // The path may have been cut to the buffer's size: try again with more room.
    if (buffer.size() >= (size_t{1} << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

void Beep(int frequency, int duration) {
  BeepHandler handler;
  {
    std::lock_guard<std::mutex> lock(Beeps().mutex);
    handler = Beeps().handler;
  }
  if (!handler) {
    TerminalBell();
    return;
  }
  try {
    handler(frequency, duration);
  } catch (...) {
    // A bell must never fail its caller.
  }
}

BeepHandler SetBeepHandler(BeepHandler handler) {
  std::lock_guard<std::mutex> lock(Beeps().mutex);
  return std::exchange(Beeps().handler, std::move(handler));
}

}  // namespace rt
