// Window handles: the opaque numbers by which OS-style services (SetFocus, SetCapture,
// CallWindowProcA, InvalidateRect) address a window, its client area or one of its controls.
//
// A handle encodes its window reference and field equate, so decoding needs no table and a
// handle of a closed window simply finds no window.
#ifndef RUNTIME_WINDOW_HANDLES_H_
#define RUNTIME_WINDOW_HANDLES_H_

#include <cstdint>

namespace rt {

using Handle = int64_t;

struct HandleTarget {
  int64_t window = 0;   // window reference; 0 when the handle is not one of ours
  int feq = 0;          // control, 0 for the window
  bool client = false;  // the window's client area
};

// Field equates must lie within +-2^18 to have a handle.
Handle HandleOf(int64_t window, int feq);
Handle ClientHandleOf(int64_t window);
HandleTarget DecodeHandle(Handle h);

}  // namespace rt

#endif  // RUNTIME_WINDOW_HANDLES_H_
