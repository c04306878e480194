#include "runtime/event/accept.h"

#include <algorithm>
#include <deque>
#include <utility>

#include "runtime/event/event_codes.h"
#include "runtime/event/event_hooks.h"
#include "runtime/event/thread_state.h"
#include "runtime/event/window_procedure.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/target.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace internal {
namespace {

// How often a blocked loop looks again at its window without being woken (a window closed
// through the registry by another thread wakes nobody).
constexpr auto kRecheckInterval = std::chrono::milliseconds(250);

// The state of one running accept loop (one per window whose loop has started on the thread).
struct LoopLevel {
  WindowRef window = 0;
  int event = 0;
  int field = 0;
  bool pending = false;  // the default handling of `event` is still owed
  bool cycled = false;
  bool close_down_sent = false;
  // Accept-all mode.
  bool all_running = false;
  std::vector<int> all_fields;
  size_t all_next = 0;
  int all_focus = 0;
};

struct ThreadEvents {
  std::vector<LoopLevel> levels;  // innermost last
  int keycode = 0;
  int keychar = 0;
  std::deque<QueueEntry> immediate;
  WindowRef dispatching = 0;
  bool has_mouse = false;
  int64_t mouse_x = 0;  // screen pixels
  int64_t mouse_y = 0;
};

thread_local ThreadEvents t_events;

LoopLevel* CurrentLevel() { return t_events.levels.empty() ? nullptr : &t_events.levels.back(); }

void EraseLevel(WindowRef ref) {
  auto& lv = t_events.levels;
  lv.erase(
      std::remove_if(lv.begin(), lv.end(), [&](const LoopLevel& l) { return l.window == ref; }),
      lv.end());
}

// The level of `ref`'s loop; loops nested above it have ended, since this one runs again.
LoopLevel& EnterLevel(WindowRef ref) {
  auto& lv = t_events.levels;
  auto it = std::find_if(lv.begin(), lv.end(), [&](const LoopLevel& l) { return l.window == ref; });
  if (it != lv.end()) {
    lv.erase(it + 1, lv.end());
    return lv.back();
  }
  lv.push_back(LoopLevel{});
  lv.back().window = ref;
  return lv.back();
}

QueueEntry MakeEvent(int event, int field) {
  QueueEntry e;
  e.event = event;
  e.field = field;
  return e;
}

// Accept-all mode: the next event it owes, if the mode is on.
bool NextAcceptAll(LoopLevel& lv, Window& w, QueueEntry* out) {
  if (w.Get(0, prop::kAcceptAll).AsInt() == 0) {
    lv.all_running = false;
    return false;
  }
  if (!lv.all_running) {
    lv.all_running = true;
    lv.all_fields.clear();
    lv.all_next = 0;
    std::vector<int> chain = w.TabChain();
    for (int f : w.Fields()) {
      if (std::find(chain.begin(), chain.end(), f) == chain.end()) chain.push_back(f);
    }
    for (int f : chain) {
      if (f > 0 && TakesInput(w.TypeOf(f)) && w.Get(f, prop::kDisabled).AsInt() == 0) {
        lv.all_fields.push_back(f);
      }
    }
  }
  if (lv.all_next < lv.all_fields.size()) {
    const int f = lv.all_fields[lv.all_next++];
    if (IsTextInput(w.TypeOf(f)) && w.Get(f, prop::kRequired).AsInt() != 0 &&
        IsBlank(w.Contents(f).AsText())) {
      lv.all_running = false;
      w.Set(0, prop::kAcceptAll, 0);
      w.Select(f);
      *out = MakeEvent(event::kRejected, f);
      return true;
    }
    w.Update(f);
    lv.all_focus = w.focus();
    *out = MakeEvent(event::kAccepted, f);
    return true;
  }
  lv.all_running = false;
  w.Set(0, prop::kAcceptAll, 0);
  *out = MakeEvent(event::kCompleted, 0);
  return true;
}

void Dispatch(const Message& m) {
  const HandleTarget t = DecodeHandle(m.handle);
  std::shared_ptr<Window> w = FindWindow(t.window);
  if (!w) return;
  if (msg::IsMouseMessage(m.message)) {
    const Rect origin = w->PixelRect(0);
    t_events.has_mouse = true;
    t_events.mouse_x = origin.x + msg::PointX(m.lparam);
    t_events.mouse_y = origin.y + msg::PointY(m.lparam);
  }
  const int code = (t.client || t.feq != 0) ? prop::kClientWindowProcedure : prop::kWindowProcedure;
  const ProcedureId proc = w->Get(0, code).AsInt();
  const WindowRef before = t_events.dispatching;
  t_events.dispatching = w->ref();
  CallWindowProcA(proc, m.handle, m.message, m.wparam, m.lparam);
  t_events.dispatching = before;
}

}  // namespace

void EmitEvent(WindowRef window, int event, int field, bool from_input) {
  QueueEntry e = MakeEvent(event, field);
  e.window = window;
  e.from_input = from_input;
  if (window != 0 && window == t_events.dispatching) {
    t_events.immediate.push_back(std::move(e));
  } else {
    PushToWindowOwner(window, std::move(e));
  }
}

WindowRef DispatchingWindow() { return t_events.dispatching; }

void SetKeyChar(int keychar) { t_events.keychar = keychar; }

}  // namespace internal

using internal::QueueEntry;
using internal::State;
using internal::ThreadRecord;

Status Open(WindowRef ref) {
  ThreadRecord* rec = internal::CurrentRecord();
  if (rec == nullptr) return Status::Failed("windows can only be opened on a runtime thread");
  std::shared_ptr<Window> w = FindWindow(ref);
  if (!w || w->closed()) return Status::NotFound("no window " + std::to_string(ref));
  if (w->owner_thread() != rec->id) {
    return Status::InvalidArgument("window " + w->label() + " belongs to thread " +
                                   std::to_string(w->owner_thread()));
  }
  for (int code : {prop::kWindowProcedure, prop::kClientWindowProcedure}) {
    if (w->Get(0, code).AsInt() == 0) w->Set(0, code, kDefaultWindowProcedure);
  }
  {
    std::lock_guard lock(State().mu);
    for (const auto& open : rec->windows) {
      if (open->ref() == ref) return Status::AlreadyExists("window " + w->label() + " is open");
    }
    rec->windows.push_back(w);
    QueueEntry e = internal::MakeEvent(event::kOpenWindow, 0);
    e.window = ref;
    internal::PushLocked(*rec, std::move(e));
    internal::ChangeFocusLocked(ref);
  }
  SetTarget(ref);
  return Status::Ok();
}

void Close(WindowRef ref) {
  {
    std::lock_guard lock(State().mu);
    ThreadRecord* owner = nullptr;
    if (internal::FindOpenLocked(ref, &owner)) internal::ForgetWindowLocked(*owner, ref);
  }
  CloseWindow(ref);
  internal::DropEventHooks(ref);
  internal::EraseLevel(ref);
  if (TargetRef() == ref) {
    std::vector<WindowRef> left = ThreadWindows();
    SetTarget(left.empty() ? 0 : left.back());
  }
}

std::vector<WindowRef> ThreadWindows() {
  std::vector<WindowRef> refs;
  ThreadRecord* rec = internal::CurrentRecord();
  if (rec == nullptr) return refs;
  std::lock_guard lock(State().mu);
  for (const auto& w : rec->windows) refs.push_back(w->ref());
  return refs;
}

std::vector<WindowRef> ThreadWindows(ThreadId thread) {
  std::vector<WindowRef> refs;
  std::lock_guard lock(State().mu);
  if (ThreadRecord* rec = internal::FindThreadLocked(thread)) {
    for (const auto& w : rec->windows) refs.push_back(w->ref());
  }
  return refs;
}

bool Accept(WindowRef ref) {
  ThreadRecord* rec = internal::CurrentRecord();
  if (rec == nullptr) return false;
  std::shared_ptr<Window> win;
  {
    std::lock_guard lock(State().mu);
    win = internal::FindOpenLocked(ref);
    if (win && win->closed()) {
      internal::ForgetWindowLocked(*rec, ref);
      win = nullptr;
    }
  }
  if (!win || win->owner_thread() != rec->id) {
    internal::EraseLevel(ref);
    return false;
  }
  internal::LoopLevel* lv = &internal::EnterLevel(ref);

  if (lv->pending) {
    lv->pending = false;
    const bool cycled = lv->cycled;
    lv->cycled = false;
    if (!cycled && (lv->event == event::kCloseWindow || lv->event == event::kCloseDown)) {
      Close(ref);
      return false;
    }
    if (lv->all_running &&
        (win->focus() != lv->all_focus || win->Get(0, prop::kAcceptAll).AsInt() == 0)) {
      // The handler refused the control: accept-all ends here.
      lv->all_running = false;
      win->Set(0, prop::kAcceptAll, 0);
    }
  }

  auto yield = [&](const QueueEntry& e) {
    lv->event = e.event;
    lv->field = e.field;
    lv->pending = true;
    lv->cycled = false;
    if (e.from_input && (e.event == event::kAccepted || e.event == event::kNewSelection) &&
        e.field != 0) {
      win->Update(e.field);
    }
    internal::RunEventHooks(ref, e.event, e.field);
    return true;
  };

  auto& immediate = internal::t_events.immediate;
  while (true) {
    QueueEntry e;
    if (internal::NextAcceptAll(*lv, *win, &e)) {
      lv->event = e.event;
      lv->field = e.field;
      lv->pending = true;
      lv->cycled = false;
      internal::RunEventHooks(ref, e.event, e.field);
      return true;
    }
    if (!immediate.empty()) {
      e = std::move(immediate.front());
      immediate.pop_front();
      if (e.window != 0 && e.window != ref) {
        internal::PushToWindowOwner(e.window, std::move(e));
        continue;
      }
      return yield(e);
    }
    bool found = false;
    bool close_down = false;
    {
      std::unique_lock lock(State().mu);
      while (true) {
        if (win->closed()) {
          internal::ForgetWindowLocked(*rec, ref);
          lock.unlock();
          internal::EraseLevel(ref);
          return false;
        }
        if (rec->closing_down && !lv->close_down_sent) {
          close_down = true;
          break;
        }
        for (auto it = rec->queue.begin(); it != rec->queue.end();) {
          const internal::Delivery d = internal::ClassifyLocked(*rec, ref, *it);
          if (d == internal::Delivery::kDeliver) {
            e = std::move(*it);
            rec->queue.erase(it);
            found = true;
            break;
          }
          it = d == internal::Delivery::kDrop ? rec->queue.erase(it) : it + 1;
        }
        if (found) break;
        rec->waiting = true;
        rec->accepting = ref;
        State().changed.notify_all();
        rec->wake.wait_for(lock, internal::kRecheckInterval);
        rec->waiting = false;
        rec->accepting = 0;
      }
    }
    if (close_down) {
      lv->close_down_sent = true;
      return yield(internal::MakeEvent(event::kCloseDown, 0));
    }
    if (e.kind == QueueEntry::Kind::kMessage) {
      internal::Dispatch(e.message);
      // A procedure may have opened and run a nested window: find this loop's level again.
      lv = &internal::EnterLevel(ref);
      continue;
    }
    return yield(e);
  }
}

void Cycle() {
  if (internal::LoopLevel* lv = internal::CurrentLevel()) lv->cycled = true;
}

int Event() {
  const internal::LoopLevel* lv = internal::CurrentLevel();
  return lv ? lv->event : 0;
}

int Field() {
  const internal::LoopLevel* lv = internal::CurrentLevel();
  return lv ? lv->field : 0;
}

int Accepted() {
  const internal::LoopLevel* lv = internal::CurrentLevel();
  return lv && lv->event == event::kAccepted ? lv->field : 0;
}

int KeyCode() { return internal::t_events.keycode; }
void SetKeyCode(int keycode) { internal::t_events.keycode = keycode; }
int KeyChar() { return internal::t_events.keychar; }

bool Post(int event, int field, ThreadId thread) {
  if (thread == 0) thread = CurrentThread();
  std::lock_guard lock(State().mu);
  ThreadRecord* t = internal::FindThreadLocked(thread);
  if (t == nullptr) return false;
  internal::PushLocked(*t, internal::MakeEvent(event, field));
  return true;
}

void RequestCloseDown() {
  std::lock_guard lock(State().mu);
  for (auto& [id, t] : State().threads) {
    t->closing_down = true;
    t->waiting = false;  // busy until it has handled close-down
    t->wake.notify_all();
  }
  State().changed.notify_all();
}

namespace {

std::shared_ptr<Window> MouseReferenceWindow() {
  if (std::shared_ptr<Window> t = Target()) return t;
  std::vector<WindowRef> ws = ThreadWindows();
  return ws.empty() ? nullptr : FindWindow(ws.back());
}

}  // namespace

int64_t MouseX() {
  if (!internal::t_events.has_mouse) return 0;
  std::shared_ptr<Window> w = MouseReferenceWindow();
  if (!w) return 0;
  return w->PixelsToUnitsX(internal::t_events.mouse_x - w->PixelRect(0).x);
}

int64_t MouseY() {
  if (!internal::t_events.has_mouse) return 0;
  std::shared_ptr<Window> w = MouseReferenceWindow();
  if (!w) return 0;
  return w->PixelsToUnitsY(internal::t_events.mouse_y - w->PixelRect(0).y);
}

}  // namespace rt
