// Internal to runtime/event: the process-wide state of runtime threads, their event queues,
// window stacks, the focus and the mouse capture. Not for use outside the runtime's event and
// display code.
//
// Everything here is guarded by the one mutex of EventState. Lock order: EventState::mu is
// taken first; the window registry and a window's own mutex may be taken while holding it
// (FindWindow, Window::closed, Window::LockUpdates). Nothing that announces a window change to
// the display (Set, Select, UnlockUpdates, ...) is called while holding it, because a display's
// observer may call back into this module.
#ifndef RUNTIME_EVENT_THREAD_STATE_H_
#define RUNTIME_EVENT_THREAD_STATE_H_

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "runtime/event/message.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/window/window.h"

namespace rt::internal {

// One entry of a thread's event queue: a runtime event, or an OS-style message that the accept
// loop runs through a window procedure.
struct QueueEntry {
  enum class Kind { kEvent, kMessage };
  Kind kind = Kind::kEvent;
  // The window the entry is for; 0: whichever window of the thread is accepting when the entry
  // is taken (posted events).
  WindowRef window = 0;
  int event = 0;
  int field = 0;
  // The event comes from user input (the default window procedure): accepting it first copies
  // the control's contents to its variable.
  bool from_input = false;
  Message message;
};

struct ThreadRecord {
  ThreadId id = 0;
  std::deque<QueueEntry> queue;
  // Open windows of the thread, in order of opening; the last is the top window.
  std::vector<std::shared_ptr<Window>> windows;
  // While `waiting`: the window whose Accept is blocked for an entry.
  WindowRef accepting = 0;
  bool waiting = false;
  // The program is ending: every window of the thread receives close-down.
  bool closing_down = false;
  bool ended = false;
  std::condition_variable wake;
};

struct EventState {
  std::mutex mu;
  // Signalled on every change that idle waits and thread-end waits look at.
  std::condition_variable changed;
  std::map<ThreadId, std::shared_ptr<ThreadRecord>> threads;
  ThreadId next_id = 1;
  // The window with the focus, and earlier holders of the focus (most recent last), so that
  // the focus can go back when its holder closes.
  WindowRef focus = 0;
  std::vector<WindowRef> focus_history;
  Handle capture = 0;           // the handle all mouse input goes to, 0 for none
  WindowRef update_locked = 0;  // LockWindowUpdate: the window whose updates are held
};

// The process-wide state; never destroyed (detached threads may still use it at exit).
EventState& State();

// The record of the calling runtime thread; null on other threads.
ThreadRecord* CurrentRecord();

// REQUIRES: State().mu held.
ThreadRecord* FindThreadLocked(ThreadId id);
// Appends `entry` to the queue of `thread` and wakes it. REQUIRES: State().mu held.
void PushLocked(ThreadRecord& thread, QueueEntry entry);
// Appends `entry` to the queue of the thread that owns `window` (entry.window is set to it).
// Returns false when the window or its thread is gone.
bool PushToWindowOwner(WindowRef window, QueueEntry entry);

// Whether `entry` can be taken by the loop of `accepting` on `thread`, must wait for another
// window of the thread to accept again, or is for a window that is gone (dropped).
enum class Delivery { kDeliver, kHold, kDrop };
Delivery ClassifyLocked(const ThreadRecord& thread, WindowRef accepting, const QueueEntry& entry);
// True when some entry of the queue can be taken by the loop of `accepting`.
bool HasDeliverableLocked(const ThreadRecord& thread, WindowRef accepting);

// Window-stack and focus bookkeeping when a window leaves its thread's stack (closed by its
// loop, by Close or found closed): takes it off the stack, drops its queued entries, ends its
// capture and held-back updates, and moves the focus on if it had it. REQUIRES: State().mu held.
void ForgetWindowLocked(ThreadRecord& thread, WindowRef window);

// The window `ref` if it is on some runtime thread's stack (and the thread's record), else
// null. REQUIRES: State().mu held.
std::shared_ptr<Window> FindOpenLocked(WindowRef ref, ThreadRecord** owner = nullptr);

// Moves the focus to `window` (0: nowhere), queueing the kill-focus and set-focus messages
// and ending a capture held by another window. REQUIRES: State().mu held.
void ChangeFocusLocked(WindowRef window);

// The accept loop's side of a dispatched message (accept.cpp): events the default procedure
// produces for the window whose message is being dispatched on the calling thread are taken
// before anything queued; for any other window they are queued for its owner.
void EmitEvent(WindowRef window, int event, int field, bool from_input);
// The window whose message the calling thread is dispatching, 0 when none.
WindowRef DispatchingWindow();
void SetKeyChar(int keychar);

}  // namespace rt::internal

#endif  // RUNTIME_EVENT_THREAD_STATE_H_
