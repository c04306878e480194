#include "runtime/event/runtime_thread.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "runtime/event/thread_state.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace internal {

EventState& State() {
  static EventState* state = new EventState;  // never destroyed, see header
  return *state;
}

ThreadRecord* FindThreadLocked(ThreadId id) {
  auto& threads = State().threads;
  auto it = threads.find(id);
  return it == threads.end() ? nullptr : it->second.get();
}

void PushLocked(ThreadRecord& thread, QueueEntry entry) {
  thread.queue.push_back(std::move(entry));
  // Busy until it has looked at the entry and waits again.
  thread.waiting = false;
  thread.wake.notify_all();
  State().changed.notify_all();
}

bool PushToWindowOwner(WindowRef window, QueueEntry entry) {
  std::shared_ptr<Window> w = FindWindow(window);
  if (!w) return false;
  entry.window = window;
  EventState& s = State();
  std::lock_guard lock(s.mu);
  ThreadRecord* t = FindThreadLocked(w->owner_thread());
  if (t == nullptr) return false;
  PushLocked(*t, std::move(entry));
  return true;
}

Delivery ClassifyLocked(const ThreadRecord& thread, WindowRef accepting, const QueueEntry& entry) {
  if (entry.window == 0 || entry.window == accepting) return Delivery::kDeliver;
  const auto& ws = thread.windows;
  auto it =
      std::find_if(ws.begin(), ws.end(), [&](const auto& w) { return w->ref() == entry.window; });
  if (it == ws.end() || (*it)->closed()) return Delivery::kDrop;
  // Input for a window below the accepting one is refused, as for a window behind a modal
  // one; everything else waits until that window's loop runs again.
  const bool input = entry.kind == QueueEntry::Kind::kMessage &&
                     entry.message.message != msg::kSetFocus &&
                     entry.message.message != msg::kKillFocus;
  if (input) {
    auto acc =
        std::find_if(ws.begin(), ws.end(), [&](const auto& w) { return w->ref() == accepting; });
    if (acc != ws.end() && it < acc) return Delivery::kDrop;
  }
  return Delivery::kHold;
}

bool HasDeliverableLocked(const ThreadRecord& thread, WindowRef accepting) {
  for (const QueueEntry& e : thread.queue) {
    if (ClassifyLocked(thread, accepting, e) == Delivery::kDeliver) return true;
  }
  return false;
}

namespace {

struct StartArg {
  std::shared_ptr<ThreadRecord> record;
  std::function<void()> procedure;
};

// The calling thread's record, set for the whole life of a runtime thread.
thread_local ThreadRecord* t_record = nullptr;

// Constructed first on every runtime thread, so destroyed after every thread_local object the
// thread constructs later: its destructor reports the end of the thread.
class EndOfThread {
 public:
  void Arm(std::shared_ptr<ThreadRecord> record) { record_ = std::move(record); }
  ~EndOfThread() {
    if (!record_) return;
    EventState& s = State();
    std::lock_guard lock(s.mu);
    record_->ended = true;
    s.threads.erase(record_->id);
    s.changed.notify_all();
  }

 private:
  std::shared_ptr<ThreadRecord> record_;
};

thread_local EndOfThread t_end_of_thread;
thread_local std::vector<std::function<void()>>* t_exit_hooks = nullptr;

void CloseWindowsLeftOpen(ThreadRecord& record) {
  std::vector<WindowRef> refs;
  {
    std::lock_guard lock(State().mu);
    for (const auto& w : record.windows) refs.push_back(w->ref());
  }
  for (auto it = refs.rbegin(); it != refs.rend(); ++it) {
    {
      std::lock_guard lock(State().mu);
      ForgetWindowLocked(record, *it);
    }
    CloseWindow(*it);
  }
}

void* ThreadMain(void* p) {
  std::unique_ptr<StartArg> arg(static_cast<StartArg*>(p));
  t_end_of_thread.Arm(arg->record);
  t_record = arg->record.get();
  std::vector<std::function<void()>> hooks;
  t_exit_hooks = &hooks;
  arg->procedure();
  arg->procedure = nullptr;
  while (!hooks.empty()) {
    std::function<void()> hook = std::move(hooks.back());
    hooks.pop_back();
    hook();
  }
  t_exit_hooks = nullptr;
  CloseWindowsLeftOpen(*arg->record);
  {
    // Nothing more will be taken: a thread that has ended holds no queue.
    std::lock_guard lock(State().mu);
    arg->record->queue.clear();
  }
  return nullptr;
}

size_t PageSize() {
  const long page = sysconf(_SC_PAGESIZE);
  return page > 0 ? static_cast<size_t>(page) : 4096;
}

size_t DefaultStackSize() {
  pthread_attr_t attr;
  size_t size = 8u << 20;
  if (pthread_attr_init(&attr) == 0) {
    pthread_attr_getstacksize(&attr, &size);
    pthread_attr_destroy(&attr);
  }
  return size;
}

}  // namespace

ThreadRecord* CurrentRecord() { return t_record; }

}  // namespace internal

using internal::State;
using internal::ThreadRecord;

size_t EffectiveStackSize(size_t requested) {
  if (requested == 0) return internal::DefaultStackSize();
  const size_t page = internal::PageSize();
  size_t size = std::max(requested, kMinimumThreadStack);
  return (size + page - 1) / page * page;
}

ThreadId Start(std::function<void()> procedure, size_t stack_size) {
  auto record = std::make_shared<ThreadRecord>();
  internal::EventState& s = State();
  {
    std::lock_guard lock(s.mu);
    record->id = s.next_id++;
    s.threads.emplace(record->id, record);
  }
  const ThreadId id = record->id;
  auto arg = std::make_unique<internal::StartArg>(
      internal::StartArg{std::move(record), std::move(procedure)});
  pthread_attr_t attr;
  pthread_t handle;
  int rc = pthread_attr_init(&attr);
  if (rc == 0) {
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    rc = pthread_attr_setstacksize(&attr, EffectiveStackSize(stack_size));
    if (rc == 0) rc = pthread_create(&handle, &attr, &internal::ThreadMain, arg.get());
    pthread_attr_destroy(&attr);
  }
  if (rc != 0) {
    std::fprintf(stderr, "twiqrt: cannot start a runtime thread (error %d)\n", rc);
    std::lock_guard lock(s.mu);
    s.threads.erase(id);
    s.changed.notify_all();
    return 0;
  }
  arg.release();  // owned by the new thread
  return id;
}

ThreadId CurrentThread() {
  ThreadRecord* r = internal::CurrentRecord();
  return r ? r->id : 0;
}

bool OnThreadExit(std::function<void()> hook) {
  if (internal::t_exit_hooks == nullptr) return false;
  internal::t_exit_hooks->push_back(std::move(hook));
  return true;
}

bool WaitForThreadEnd(ThreadId id, std::chrono::milliseconds timeout) {
  internal::EventState& s = State();
  std::unique_lock lock(s.mu);
  return s.changed.wait_for(lock, timeout, [&] { return !s.threads.count(id); });
}

bool IsThreadRunning(ThreadId id) {
  internal::EventState& s = State();
  std::lock_guard lock(s.mu);
  return s.threads.count(id) != 0;
}

std::vector<ThreadId> RunningThreads() {
  internal::EventState& s = State();
  std::lock_guard lock(s.mu);
  std::vector<ThreadId> ids;
  for (const auto& [id, r] : s.threads) ids.push_back(id);
  return ids;
}

}  // namespace rt
