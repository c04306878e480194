#include "runtime/window/window_registry.h"

#include <map>
#include <mutex>

namespace rt {
namespace {

struct Registry {
  std::mutex mu;
  WindowRef next_ref = 1;                                // guarded by mu
  std::map<WindowRef, std::shared_ptr<Window>> windows;  // guarded by mu
  WindowObserver* observer = nullptr;                    // guarded by mu
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // never destroyed: windows may close at exit
  return *registry;
}

}  // namespace

std::shared_ptr<Window> OpenWindow(int owner_thread, std::string label) {
  Registry& r = TheRegistry();
  std::shared_ptr<Window> w;
  WindowObserver* observer;
  {
    std::lock_guard lock(r.mu);
    w = std::make_shared<Window>(r.next_ref++, owner_thread, std::move(label));
    w->set_observer(r.observer);
    r.windows.emplace(w->ref(), w);
    observer = r.observer;
  }
  if (observer) observer->WindowOpened(w->ref());
  return w;
}

std::shared_ptr<Window> FindWindow(WindowRef ref) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mu);
  auto it = r.windows.find(ref);
  return it == r.windows.end() ? nullptr : it->second;
}

void AnnounceInputStateChanged() {
  Registry& r = TheRegistry();
  WindowObserver* observer;
  {
    std::lock_guard lock(r.mu);
    observer = r.observer;
  }
  if (observer) observer->InputStateChanged();
}

void CloseWindow(WindowRef ref) {
  Registry& r = TheRegistry();
  std::shared_ptr<Window> w;
  WindowObserver* observer;
  {
    std::lock_guard lock(r.mu);
    auto it = r.windows.find(ref);
    if (it == r.windows.end()) return;
    w = std::move(it->second);
    r.windows.erase(it);
    observer = r.observer;
  }
  w->MarkClosed();
  w->set_observer(nullptr);
  if (observer) observer->WindowClosed(ref);
}

std::vector<std::shared_ptr<Window>> OpenWindows() {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mu);
  std::vector<std::shared_ptr<Window>> out;
  for (const auto& [ref, w] : r.windows) out.push_back(w);
  return out;
}

void SetWindowObserver(WindowObserver* observer) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mu);
  r.observer = observer;
  for (const auto& [ref, w] : r.windows) w->set_observer(observer);
}

}  // namespace rt
