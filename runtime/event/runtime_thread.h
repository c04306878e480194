// Runtime threads (START, THREAD).
//
// A runtime thread is an OS thread started by Start(). Each has a number (THREAD), an event
// queue and a stack of open windows (accept.h). Numbers are given in order of starting and
// never reused; the first runtime thread of the process is 1, which rt::Run makes the program
// thread. A thread not started by the runtime (main, a display, a test's own thread) has the
// number 0 and cannot accept events.
//
// A runtime thread ends when its procedure returns. Its state ends with it, in this order:
// the hooks registered with OnThreadExit (last registered first), then the windows it left open
// are closed, then the thread's `thread_local` objects are destroyed by the C++ runtime (because
// a runtime thread is a real OS thread, per-thread state of the system kept in `thread_local`
// objects needs no hook), and last the thread is reported ended to WaitForThreadEnd. The end is
// reported after every `thread_local` object that was constructed after the thread started, so
// a waiter sees the thread's state already destroyed.
//
// All functions are thread-safe.
#ifndef RUNTIME_EVENT_RUNTIME_THREAD_H_
#define RUNTIME_EVENT_RUNTIME_THREAD_H_

#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace rt {

using ThreadId = int;

// Smallest stack a runtime thread gets, whatever it asks for. Requests below this (such as the
// 25000 bytes a host may pass) would overflow in the runtime's own deeper paths (the keyed
// file driver's SQL parsing and encryption, sanitizer builds), so they are raised to it.
inline constexpr size_t kMinimumThreadStack = size_t{1} << 20;

// The stack size a request gets: 0 means the OS default for new threads; any other request is
// raised to kMinimumThreadStack and rounded up to whole pages. Larger requests are honoured.
size_t EffectiveStackSize(size_t requested);

// Runs `procedure` on a new runtime thread with (at least) `stack_size` bytes of stack
// (see EffectiveStackSize) and returns its number, or 0 when the OS cannot start a thread.
// The thread exists (events can be posted to it) as soon as Start returns.
ThreadId Start(std::function<void()> procedure, size_t stack_size = 0);

// The number of the calling runtime thread; 0 on a thread the runtime did not start.
ThreadId CurrentThread();

// Registers `hook` to run on the calling runtime thread when its procedure returns (last
// registered, first run). Returns false (and drops the hook) on a thread the runtime did not
// start.
bool OnThreadExit(std::function<void()> hook);

// Waits until runtime thread `id` has ended (see above for what "ended" includes). Returns
// true when it has ended or never existed, false when `timeout` passed first.
bool WaitForThreadEnd(ThreadId id, std::chrono::milliseconds timeout);

// True while runtime thread `id` has not ended.
bool IsThreadRunning(ThreadId id);

// The numbers of every runtime thread that has not ended, ascending.
std::vector<ThreadId> RunningThreads();

}  // namespace rt

#endif  // RUNTIME_EVENT_RUNTIME_THREAD_H_
