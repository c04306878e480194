#include "runtime/display/display.h"

#include <mutex>

#include "runtime/window/window_registry.h"

namespace rt {
namespace {

// The registry's observer, installed once and never destroyed: it hands each notification to
// the display installed at that moment, holding it alive for the call, so a display can be
// replaced while windows change on other threads.
class Forwarder : public WindowObserver {
 public:
  void WindowOpened(WindowRef ref) override {
    if (auto d = CurrentDisplay()) d->WindowOpened(ref);
  }
  void WindowChanged(WindowRef ref) override {
    if (auto d = CurrentDisplay()) d->WindowChanged(ref);
  }
  void WindowClosed(WindowRef ref) override {
    if (auto d = CurrentDisplay()) d->WindowClosed(ref);
  }
  void InputStateChanged() override {
    if (auto d = CurrentDisplay()) d->InputStateChanged();
  }
};

struct Installed {
  std::mutex mu;
  std::shared_ptr<Display> display;  // guarded by mu
  Forwarder forwarder;
  bool forwarding = false;  // guarded by mu
};

Installed& TheInstalled() {
  static Installed* installed = new Installed;  // never destroyed: used until exit
  return *installed;
}

}  // namespace

std::shared_ptr<Display> SetDisplay(std::shared_ptr<Display> display) {
  Installed& i = TheInstalled();
  bool install_forwarder = false;
  {
    std::lock_guard lock(i.mu);
    std::swap(i.display, display);
    install_forwarder = !i.forwarding;
    i.forwarding = true;
  }
  if (install_forwarder) SetWindowObserver(&i.forwarder);
  return display;
}

std::shared_ptr<Display> CurrentDisplay() {
  Installed& i = TheInstalled();
  std::lock_guard lock(i.mu);
  return i.display;
}

}  // namespace rt
