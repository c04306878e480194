// P1$MORPHWINDOW: the edit-mode window, titled "Box".
//
// Edit mode opens it hidden over the host window and captures the mouse to it, so that every
// mouse message reaches its window procedures instead of the host's controls. Its three
// buttons are never seen: they are the targets of the accepted events those procedures post
// for presses, moves and releases. The window alerts the keys that edit mode handles: the
// right mouse button (pop-up menu), the arrows (nudge) and the keys that end edit mode.
//
// The definition is built once, on first use, and is read-only afterwards (any thread may
// open it). It binds no variables.
#ifndef TWIQLIB_WINDOWS_MORPH_WINDOW_H_
#define TWIQLIB_WINDOWS_MORPH_WINDOW_H_

#include "runtime/window/definition.h"
#include "twiqlib/bindings/export.h"

namespace twiq {

inline constexpr int kMorphDown = 1020;       // ?DOWN "MD": left-button press
inline constexpr int kMorphMouseMove = 1030;  // ?MOUSEMOVE "MM": pointer movement
inline constexpr int kMorphUp = 1050;         // ?UP "MU": left-button release

TWIQ_INTERNAL_API const rt::WindowDefinition& MorphWindowDefinition();

}  // namespace twiq

#endif  // TWIQLIB_WINDOWS_MORPH_WINDOW_H_
