// OS-style window messages: how a display hands pointer and keyboard input to the runtime
// thread that owns a window, and what window procedures receive.
//
// A message is addressed to a window handle (runtime/window/handles.h): mouse input to the
// client area's handle of the window under the pointer (or to the capturing handle), keys and
// characters to the client handle of the window with the focus, focus changes to the window's
// own handle. Mouse coordinates are pixels relative to the client area of the window the
// message is addressed to, packed into lParam (x in the low 16 bits, y in the next 16, both
// signed). The message numbers are those window procedures conventionally test.
#ifndef RUNTIME_EVENT_MESSAGE_H_
#define RUNTIME_EVENT_MESSAGE_H_

#include <cstdint>

#include "runtime/window/handles.h"

namespace rt::msg {

inline constexpr uint32_t kSetFocus = 0x0007;     // wParam: handle that lost the focus (or 0)
inline constexpr uint32_t kKillFocus = 0x0008;    // wParam: handle that takes the focus (or 0)
inline constexpr uint32_t kKeyDown = 0x0100;      // wParam: keycode with modifier bits (keycodes.h)
inline constexpr uint32_t kKeyUp = 0x0101;        // wParam: as kKeyDown
inline constexpr uint32_t kChar = 0x0102;         // wParam: the character (one byte of UTF-8 text)
inline constexpr uint32_t kMouseMove = 0x0200;    // lParam: point; wParam: button state
inline constexpr uint32_t kLButtonDown = 0x0201;  // lParam: point
inline constexpr uint32_t kLButtonUp = 0x0202;    // lParam: point
inline constexpr uint32_t kLButtonDblClk = 0x0203;  // lParam: point
inline constexpr uint32_t kRButtonDown = 0x0204;    // lParam: point
inline constexpr uint32_t kRButtonUp = 0x0205;      // lParam: point
inline constexpr uint32_t kRButtonDblClk = 0x0206;  // lParam: point
inline constexpr uint32_t kMButtonDown = 0x0207;    // lParam: point
inline constexpr uint32_t kMButtonUp = 0x0208;      // lParam: point
inline constexpr uint32_t kCommand = 0x0111;  // wParam: field equate of the menu item chosen

// Button state bits of wParam in mouse messages.
inline constexpr uintptr_t kLeftButtonHeld = 0x0001;
inline constexpr uintptr_t kRightButtonHeld = 0x0002;

inline bool IsMouseMessage(uint32_t message) {
  return message >= kMouseMove && message <= kMButtonUp;
}

// Packs a window-relative point into lParam and takes it apart again.
inline intptr_t PackPoint(int x, int y) {
  return static_cast<intptr_t>(static_cast<uint16_t>(x)) |
         (static_cast<intptr_t>(static_cast<uint16_t>(y)) << 16);
}
inline int PointX(intptr_t lparam) { return static_cast<int16_t>(lparam & 0xFFFF); }
inline int PointY(intptr_t lparam) { return static_cast<int16_t>((lparam >> 16) & 0xFFFF); }

}  // namespace rt::msg

namespace rt {

// One message with its four arguments, as a window procedure receives them.
struct Message {
  Handle handle = 0;
  uint32_t message = 0;
  uintptr_t wparam = 0;
  intptr_t lparam = 0;
};

}  // namespace rt

#endif  // RUNTIME_EVENT_MESSAGE_H_
