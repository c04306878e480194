#include "runtime/window/handles.h"

namespace rt {
namespace {
constexpr int kFeqBias = 1 << 18;
constexpr int64_t kSlotBits = 20;
constexpr int64_t kClientSlot = (int64_t{1} << kSlotBits) - 1;
}  // namespace

Handle HandleOf(int64_t window, int feq) {
  if (window <= 0 || feq <= -kFeqBias || feq >= kFeqBias) return 0;
  return (window << kSlotBits) | (feq + kFeqBias);
}

Handle ClientHandleOf(int64_t window) {
  return window <= 0 ? 0 : (window << kSlotBits) | kClientSlot;
}

HandleTarget DecodeHandle(Handle h) {
  HandleTarget t;
  if (h <= 0) return t;
  t.window = h >> kSlotBits;
  const int64_t slot = h & kClientSlot;
  if (slot == kClientSlot) {
    t.client = true;
  } else {
    t.feq = static_cast<int>(slot) - kFeqBias;
  }
  return t;
}

}  // namespace rt
