#include "runtime/event/idle.h"

#include "runtime/event/thread_state.h"

namespace rt {
namespace {

using internal::State;
using internal::ThreadRecord;

bool BusyLocked(const ThreadRecord& t) {
  return !t.waiting || internal::HasDeliverableLocked(t, t.accepting);
}

bool IdleLocked() {
  for (const auto& [id, t] : State().threads) {
    if (BusyLocked(*t)) return false;
  }
  return true;
}

std::string DescribeLocked() {
  std::string out;
  for (const auto& [id, t] : State().threads) {
    out += "thread " + std::to_string(id) + (BusyLocked(*t) ? ": busy" : ": waiting") +
           ", queued " + std::to_string(t->queue.size()) + ", windows [";
    bool first = true;
    for (const auto& w : t->windows) {
      out += (first ? "" : ", ") + w->label();
      first = false;
    }
    out += "]\n";
  }
  return out;
}

}  // namespace

bool IsIdle() {
  std::lock_guard lock(State().mu);
  return IdleLocked();
}

Status WaitUntilIdle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(State().mu);
  if (State().changed.wait_for(lock, timeout, [] { return IdleLocked(); })) return Status::Ok();
  return Status::Failed("the program is not idle after " + std::to_string(timeout.count()) +
                        " ms:\n" + DescribeLocked());
}

std::string DescribeThreads() {
  std::lock_guard lock(State().mu);
  return DescribeLocked();
}

}  // namespace rt
