// Event hooks: runtime services that follow a window's events without owning its loop.
//
//   rt::HookId id = rt::AddEventHook(w->ref(), rt::event::kSized,
//                                    [](int event, int field) { ... });
//   ...
//   rt::RemoveEventHook(id);
//
// A hook belongs to the runtime thread that added it, which must own the window. It runs on
// that thread inside Accept, after the event has been taken for the window and before Accept
// returns it, so the window's own handler already sees what the hook did (a service that
// rearranges the controls on a resize runs before the program refreshes the window). A hook
// does not consume the event. Hooks of one event run in the order they were added; a hook may
// add or remove hooks, itself included. A window's hooks are dropped when it is closed.
// Not thread-safe across threads by design: everything happens on the owner thread.
#ifndef RUNTIME_EVENT_EVENT_HOOKS_H_
#define RUNTIME_EVENT_EVENT_HOOKS_H_

#include <cstdint>
#include <functional>

#include "runtime/window/window.h"

namespace rt {

using EventHook = std::function<void(int event, int field)>;
using HookId = uint64_t;

// Adds `hook` for `event` of `window`. Returns 0 (and adds nothing) when the calling thread is
// not a runtime thread, the window is unknown, closed or another thread's, or hook is empty.
HookId AddEventHook(WindowRef window, int event, EventHook hook);

// Removes a hook of the calling thread; no-op for 0, an unknown id or one already dropped.
void RemoveEventHook(HookId id);

namespace internal {
// Accept's side: runs the calling thread's hooks for `event` of `window`.
void RunEventHooks(WindowRef window, int event, int field);
// Close's side: drops the calling thread's hooks of `window`.
void DropEventHooks(WindowRef window);
}  // namespace internal

}  // namespace rt

#endif  // RUNTIME_EVENT_EVENT_HOOKS_H_
