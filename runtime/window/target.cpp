#include "runtime/window/target.h"

#include "runtime/window/window_registry.h"

namespace rt {
namespace {
thread_local WindowRef target_ref = 0;
}  // namespace

void SetTarget(WindowRef ref) { target_ref = ref; }
WindowRef TargetRef() { return target_ref; }
std::shared_ptr<Window> Target() { return target_ref ? FindWindow(target_ref) : nullptr; }

}  // namespace rt
