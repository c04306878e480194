#include "runtime/display/run.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "runtime/display/headless/headless_display.h"

namespace rt {
namespace {

struct Factories {
  std::mutex mu;
  DisplayFactory qt;  // guarded by mu
};

Factories& TheFactories() {
  static Factories* f = new Factories;  // never destroyed
  return *f;
}

DisplayFactory QtFactory() {
  Factories& f = TheFactories();
  std::lock_guard lock(f.mu);
  return f.qt;
}

bool SocketConnects(const std::string& path) {
  if (path.size() >= sizeof(sockaddr_un::sun_path)) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  path.copy(addr.sun_path, path.size());
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  close(fd);
  return ok;
}

bool XServerReachable(const std::string& display) {
  // ":N" or ":N.S" is a local server with a socket; "host:N" is over the network, which we
  // take as reachable (the Qt display reports a failure to connect itself).
  const size_t colon = display.rfind(':');
  if (colon == std::string::npos) return false;
  if (colon != 0 && display.substr(0, colon) != "unix") return true;
  std::string number = display.substr(colon + 1);
  number = number.substr(0, number.find('.'));
  if (number.empty()) return false;
  return SocketConnects("/tmp/.X11-unix/X" + number);
}

bool WaylandReachable(const std::string& name) {
  if (!name.empty() && name[0] == '/') return SocketConnects(name);
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  if (dir == nullptr || *dir == '\0') return false;
  return SocketConnects(std::string(dir) + "/" + name);
}

}  // namespace

void RegisterQtDisplay(DisplayFactory factory) {
  Factories& f = TheFactories();
  std::lock_guard lock(f.mu);
  f.qt = std::move(factory);
}

bool DisplayServerReachable() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland != nullptr && *wayland != '\0' && WaylandReachable(wayland)) return true;
  const char* x = std::getenv("DISPLAY");
  return x != nullptr && *x != '\0' && XServerReachable(x);
}

DisplayChoice ChooseDisplay(const std::optional<std::string>& setting, bool server_reachable,
                            bool qt_available) {
  DisplayChoice c;
  const std::string kScriptPrefix = "script:";
  if (!setting || setting->empty()) {
    c.kind = server_reachable && qt_available ? DisplayChoice::Kind::kQt
                                              : DisplayChoice::Kind::kHeadless;
    if (server_reachable && !qt_available) {
      c.note = "the Qt display is not part of this program; using the headless display";
    }
  } else if (*setting == "qt") {
    c.kind = qt_available ? DisplayChoice::Kind::kQt : DisplayChoice::Kind::kHeadless;
    if (!qt_available) {
      c.note =
          "TWIQRT_DISPLAY=qt, but the Qt display is not part of this program; using the "
          "headless display";
    }
  } else if (*setting == "headless") {
    c.kind = DisplayChoice::Kind::kHeadless;
  } else if (setting->rfind(kScriptPrefix, 0) == 0 && setting->size() > kScriptPrefix.size()) {
    c.kind = DisplayChoice::Kind::kScript;
    c.script = setting->substr(kScriptPrefix.size());
  } else {
    c.kind = DisplayChoice::Kind::kInvalid;
    c.note = "TWIQRT_DISPLAY=" + *setting + " is not understood; use qt, headless or script:FILE";
  }
  return c;
}

int Run(int argc, char** argv, std::function<void()> program) {
  const char* env = std::getenv("TWIQRT_DISPLAY");
  std::optional<std::string> setting;
  if (env != nullptr) setting = env;
  DisplayFactory qt = QtFactory();
  // Only probe for a server when the choice depends on it.
  const bool reachable = (!setting || setting->empty()) && DisplayServerReachable();
  const DisplayChoice choice = ChooseDisplay(setting, reachable, static_cast<bool>(qt));
  if (!choice.note.empty()) std::fprintf(stderr, "twiqrt: %s\n", choice.note.c_str());
  std::shared_ptr<Display> display;
  switch (choice.kind) {
    case DisplayChoice::Kind::kInvalid:
      return kBadDisplaySettingExitCode;
    case DisplayChoice::Kind::kQt:
      display = qt(argc, argv);
      break;
    case DisplayChoice::Kind::kHeadless: {
      HeadlessDisplay::Options o;
      o.scripted = false;
      display = std::make_shared<HeadlessDisplay>(o);
      break;
    }
    case DisplayChoice::Kind::kScript: {
      HeadlessDisplay::Options o;
      o.scripted = true;
      o.script_path = choice.script;
      display = std::make_shared<HeadlessDisplay>(o);
      break;
    }
  }
  if (!display) {
    std::fprintf(stderr, "twiqrt: the display could not start\n");
    return kBadDisplaySettingExitCode;
  }
  SetDisplay(display);
  const int code = display->Run(program);
  SetDisplay(nullptr);
  return code;
}

int Run(std::function<void()> program) { return Run(0, nullptr, std::move(program)); }

}  // namespace rt
