// Focus, mouse capture, held-back painting and repaint requests (os_window.h).
#include <algorithm>

#include "runtime/event/os_window.h"
#include "runtime/event/thread_state.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace internal {

std::shared_ptr<Window> FindOpenLocked(WindowRef ref, ThreadRecord** owner) {
  if (ref == 0) return nullptr;
  for (auto& [id, t] : State().threads) {
    for (const auto& w : t->windows) {
      if (w->ref() == ref) {
        if (owner) *owner = t.get();
        return w;
      }
    }
  }
  return nullptr;
}

namespace {

void PushMessageLocked(WindowRef window, uint32_t message, uintptr_t wparam) {
  ThreadRecord* owner = nullptr;
  if (!FindOpenLocked(window, &owner)) return;
  QueueEntry e;
  e.kind = QueueEntry::Kind::kMessage;
  e.window = window;
  e.message = Message{HandleOf(window, 0), message, wparam, 0};
  PushLocked(*owner, std::move(e));
}

}  // namespace

void ChangeFocusLocked(WindowRef window) {
  EventState& s = State();
  const WindowRef old = s.focus;
  const WindowRef capturer = DecodeHandle(s.capture).window;
  if (capturer != 0 && capturer != window) {
    s.capture = 0;
    if (capturer != old) PushMessageLocked(capturer, msg::kKillFocus, HandleOf(window, 0));
  }
  if (capturer != 0 && capturer != window) AnnounceInputStateChanged();
  if (old == window) return;
  s.focus = window;
  auto& h = s.focus_history;
  h.erase(std::remove(h.begin(), h.end(), window), h.end());
  if (window != 0) h.push_back(window);
  if (old != 0) PushMessageLocked(old, msg::kKillFocus, HandleOf(window, 0));
  if (window != 0) PushMessageLocked(window, msg::kSetFocus, HandleOf(old, 0));
  AnnounceInputStateChanged();
}

void ForgetWindowLocked(ThreadRecord& thread, WindowRef window) {
  EventState& s = State();
  auto& ws = thread.windows;
  ws.erase(std::remove_if(ws.begin(), ws.end(), [&](const auto& w) { return w->ref() == window; }),
           ws.end());
  auto& q = thread.queue;
  q.erase(std::remove_if(q.begin(), q.end(), [&](const auto& e) { return e.window == window; }),
          q.end());
  if (DecodeHandle(s.capture).window == window) s.capture = 0;
  if (s.update_locked == window) s.update_locked = 0;
  auto& h = s.focus_history;
  h.erase(std::remove(h.begin(), h.end(), window), h.end());
  if (s.focus == window) {
    s.focus = 0;
    WindowRef next = 0;
    for (auto it = ws.rbegin(); it != ws.rend() && next == 0; ++it) {
      if (!(*it)->closed()) next = (*it)->ref();
    }
    for (auto it = h.rbegin(); it != h.rend() && next == 0; ++it) {
      auto w = FindOpenLocked(*it);
      if (w && !w->closed()) next = *it;
    }
    ChangeFocusLocked(next);
  }
  s.changed.notify_all();
  AnnounceInputStateChanged();  // off its thread's stack
}

}  // namespace internal

using internal::State;

Handle SetFocus(Handle handle) {
  const HandleTarget t = DecodeHandle(handle);
  std::shared_ptr<Window> w;
  WindowRef old;
  {
    std::lock_guard lock(State().mu);
    w = internal::FindOpenLocked(t.window);
    old = State().focus;
    if (!w || w->closed()) return 0;
  }
  if (!t.client && t.feq != 0) w->Select(t.feq);
  std::lock_guard lock(State().mu);
  internal::ChangeFocusLocked(w->ref());
  return HandleOf(old, 0);
}

Handle GetFocus() {
  std::lock_guard lock(State().mu);
  return HandleOf(State().focus, 0);
}

WindowRef FocusedWindow() {
  std::lock_guard lock(State().mu);
  return State().focus;
}

Handle SetCapture(Handle handle) {
  std::lock_guard lock(State().mu);
  auto w = internal::FindOpenLocked(DecodeHandle(handle).window);
  if (!w || w->closed()) return 0;
  const Handle old = State().capture;
  State().capture = handle;
  if (old != handle) AnnounceInputStateChanged();
  return old;
}

bool ReleaseCapture() {
  std::lock_guard lock(State().mu);
  const bool had = State().capture != 0;
  State().capture = 0;
  if (had) AnnounceInputStateChanged();
  return had;
}

Handle GetCapture() {
  std::lock_guard lock(State().mu);
  return State().capture;
}

bool LockWindowUpdate(Handle handle) {
  std::shared_ptr<Window> unlock;
  {
    std::lock_guard lock(State().mu);
    internal::EventState& s = State();
    if (handle != 0) {
      if (s.update_locked != 0) return false;
      std::shared_ptr<Window> w = FindWindow(DecodeHandle(handle).window);
      if (!w) return false;
      s.update_locked = w->ref();
      w->LockUpdates();  // under the event lock, so an unlock cannot overtake it
      return true;
    }
    if (s.update_locked == 0) return false;
    unlock = FindWindow(s.update_locked);
    s.update_locked = 0;
  }
  // Outside the event lock: unlocking announces the held changes to the display.
  if (unlock) unlock->UnlockUpdates();
  return true;
}

bool InvalidateRect(Handle handle, const Rect* /*rect*/, bool /*erase*/) {
  std::shared_ptr<Window> w = FindWindow(DecodeHandle(handle).window);
  if (!w) return false;
  w->Invalidate();
  return true;
}

}  // namespace rt
