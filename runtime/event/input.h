// How a display (or a test robot) feeds user input to the runtime: as OS-style messages
// (message.h) queued for the runtime thread that owns the window concerned.
//
// Routing: mouse input goes to the capturing handle when there is one (SetCapture), with the
// point made relative to the capturing window; otherwise to the client area of the window
// under the pointer, which must be the top window of its thread (a window behind a nested,
// modal one refuses input). A button press on a window without the focus first gives it the
// focus, as clicking a window activates it. Keys and characters go to the window with the
// focus. Thread-safe; never blocks on the runtime threads.
#ifndef RUNTIME_EVENT_INPUT_H_
#define RUNTIME_EVENT_INPUT_H_

#include <cstdint>

#include "runtime/status/status.h"
#include "runtime/window/window.h"

namespace rt {

// A mouse message (msg::kMouseMove, kLButtonDown, ...) at (x, y), pixels relative to the
// client area of `window`, with the button state bits in `buttons`.
Status SendMouse(WindowRef window, uint32_t message, int x, int y, uintptr_t buttons = 0);

// A key press (keycode with modifier bits) to the window with the focus, followed by the
// character it types when `typed` is not 0.
Status SendKey(int keycode, char typed = 0);

// A character alone (no key of its own) to the window with the focus.
Status SendChar(char c);
// The user chose menu item `item` (a field equate) of `window`'s menu bar. The default window
// procedure performs a standard frame action or raises accepted for the item.
Status SendCommand(WindowRef window, int item);

// The user moved or resized `window`: `rect` is its new position and client size in pixels.
// The size is kept within the window's MinimumWidth..MaximumWidth and MinimumHeight..
// MaximumHeight (property_codes.h; a display that lets the user go further is brought back
// by the model). The model takes the geometry; a change of size queues sized (231h) for the
// window's owner thread.
Status ReportWindowGeometry(WindowRef window, const Rect& rect);

// The user clicked tab `tab` (1-based, among the sheet's tabs) of sheet `sheet`: the sheet
// shows it and new-selection (2h) for the sheet is queued, as input. No-op when the tab is
// already shown. Refused while the pointer is captured (the click belongs to the capturing
// window), for a disabled sheet, and for anything but a sheet's existing tab.
Status ChooseTab(WindowRef window, int sheet, int tab);

// The user chose row `row` (1-based) in the dropped-down list of drop list, combo or drop combo
// `feq`: it becomes the selected row, a combo's entry takes the row's first cell, and
// new-selection is queued, as input. Refused while the pointer is captured, for a disabled
// control, another kind of control, or a row the list does not have.
Status ChooseListRow(WindowRef window, int feq, int row);

// The user gives the focus to `window` from outside the runtime's own input (the window
// manager, another application): the focus moves (ending any capture, see os_window.h).
Status ActivateWindow(WindowRef window);

}  // namespace rt

#endif  // RUNTIME_EVENT_INPUT_H_
