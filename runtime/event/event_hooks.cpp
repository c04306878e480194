#include "runtime/event/event_hooks.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "runtime/event/runtime_thread.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

struct Hook {
  HookId id = 0;
  WindowRef window = 0;
  int event = 0;
  EventHook run;
};

// Hooks are per thread: they are added, run and removed on the window's owner thread only.
struct ThreadHooks {
  std::vector<Hook> hooks;  // in order of adding
  HookId next_id = 1;
};

thread_local ThreadHooks t_hooks;

}  // namespace

HookId AddEventHook(WindowRef window, int event, EventHook hook) {
  const ThreadId thread = CurrentThread();
  if (thread == 0 || !hook) return 0;
  std::shared_ptr<Window> w = FindWindow(window);
  if (!w || w->closed() || w->owner_thread() != thread) return 0;
  // Ids carry the thread in their high bits so that an id never matches another thread's hook.
  const HookId id = (static_cast<HookId>(thread) << 40) | t_hooks.next_id++;
  t_hooks.hooks.push_back(Hook{id, window, event, std::move(hook)});
  return id;
}

void RemoveEventHook(HookId id) {
  if (id == 0) return;
  auto& hooks = t_hooks.hooks;
  hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.id == id; }),
              hooks.end());
}

namespace internal {

void RunEventHooks(WindowRef window, int event, int field) {
  if (t_hooks.hooks.empty()) return;
  // Collect first: a hook may add or remove hooks while it runs.
  std::vector<HookId> due;
  for (const Hook& h : t_hooks.hooks) {
    if (h.window == window && h.event == event) due.push_back(h.id);
  }
  for (HookId id : due) {
    auto it = std::find_if(t_hooks.hooks.begin(), t_hooks.hooks.end(),
                           [&](const Hook& h) { return h.id == id; });
    if (it == t_hooks.hooks.end()) continue;  // removed by an earlier hook
    EventHook run = it->run;                  // the hook may remove itself while running
    run(event, field);
  }
}

void DropEventHooks(WindowRef window) {
  auto& hooks = t_hooks.hooks;
  hooks.erase(
      std::remove_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.window == window; }),
      hooks.end());
}

}  // namespace internal
}  // namespace rt
