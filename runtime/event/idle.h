// Idleness of the runtime: every runtime thread blocked in Accept with nothing it can take.
//
// A display waits for idleness before it acts as the user again, so that scripted input is
// handled in the same order every run. A thread that is running, starting, waiting for a
// dialog's answer or blocked anywhere but in Accept is busy; a thread whose queue holds only
// entries for windows below its running loop is idle. With no runtime thread at all the
// runtime is idle. Thread-safe.
#ifndef RUNTIME_EVENT_IDLE_H_
#define RUNTIME_EVENT_IDLE_H_

#include <chrono>
#include <string>

#include "runtime/status/status.h"

namespace rt {

bool IsIdle();

// Waits until the runtime is idle. Fails after `timeout`, naming the threads still busy.
Status WaitUntilIdle(std::chrono::milliseconds timeout);

// One line per runtime thread: its number, whether it is waiting, its open windows and the
// number of queued entries (for failure reports).
std::string DescribeThreads();

}  // namespace rt

#endif  // RUNTIME_EVENT_IDLE_H_
