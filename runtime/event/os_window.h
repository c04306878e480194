// The operating system's window services as this runtime provides them: focus, mouse capture,
// held-back painting and repaint requests, all addressed by window handle
// (runtime/window/handles.h; a window's WindowHandle 7CABh and ClientHandle 7C96h).
//
// Focus and capture are process-wide: one window has the focus (keys go to it), one handle may
// hold the capture (all mouse input goes to it, with coordinates relative to its window). When
// the focus moves to another window, the window that had it receives a kill-focus message (lose
// focus, 205h, from the default window procedure) and the new one a set-focus message (206h).
// A capturing window loses the capture when the focus moves to any other window and then also
// receives the kill-focus message, whether or not it had the focus: a capturing window holds
// all input, so input leaving it is a loss of focus.
//
// All functions are thread-safe; the messages they cause are queued for the windows' owner
// threads.
#ifndef RUNTIME_EVENT_OS_WINDOW_H_
#define RUNTIME_EVENT_OS_WINDOW_H_

#include "runtime/window/handles.h"
#include "runtime/window/window.h"

namespace rt {

// Gives the focus to the window of `handle` (its WindowHandle or ClientHandle), or to the
// control of a control handle (which is selected in its window). Returns the handle of the
// window that had the focus (0: none, or `handle` names no window on a window stack, in which
// case nothing changes).
Handle SetFocus(Handle handle);
// The WindowHandle of the window with the focus, 0 for none.
Handle GetFocus();
// The window with the focus, 0 for none.
WindowRef FocusedWindow();

// Routes all mouse input to `handle` until ReleaseCapture (or the focus moves elsewhere).
// Returns the handle that held the capture before (0: none). A handle that names no open
// window sets nothing and returns 0.
Handle SetCapture(Handle handle);
// Ends the capture; false when there was none.
bool ReleaseCapture();
// The capturing handle, 0 for none.
Handle GetCapture();

// Holds back the display of the window's changes until LockWindowUpdate(0), which shows them
// at once (one repaint). One window at a time: locking while another window is locked fails
// (returns false) and changes nothing; LockWindowUpdate(0) with nothing locked returns false.
bool LockWindowUpdate(Handle handle);

// Asks the display to repaint the window (or the part `rect` of it, in client pixels; null:
// all of it). `erase` asks for the background to be painted first; the runtime's displays
// always repaint whole windows, so both are hints. False for a handle that names no window.
bool InvalidateRect(Handle handle, const Rect* rect, bool erase);

}  // namespace rt

#endif  // RUNTIME_EVENT_OS_WINDOW_H_
