// The target window of the calling thread (SETTARGET): the window that operations without an
// explicit window act on. Each runtime thread has its own target; opening a window makes it
// the target of its owner thread.
#ifndef RUNTIME_WINDOW_TARGET_H_
#define RUNTIME_WINDOW_TARGET_H_

#include <memory>

#include "runtime/window/window.h"

namespace rt {

void SetTarget(WindowRef ref);
WindowRef TargetRef();
// The target window, or null when none is set or it has closed.
std::shared_ptr<Window> Target();

}  // namespace rt

#endif  // RUNTIME_WINDOW_TARGET_H_
