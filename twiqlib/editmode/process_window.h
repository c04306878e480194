// Edit mode: the work behind the exported entry point TWIQ:PROCESSWINDOW (twiq.h).
//
// The host calls it from its own event loop on its hot key; it returns when the user leaves
// edit mode. Meanwhile a hidden window of the library, P1$MORPHWINDOW, holds the mouse
// capture and runs its own loop on the host thread: a left press selects the control under
// the pointer (framed by eight grab handles) and a drag moves or resizes it; the arrows nudge
// it by one pixel; the right button opens the pop-up menu (property editor, processed
// controls, control list, reset to original, quit); Esc, F8, F9, F10 (and the other alerted
// keys but the arrows and the right button) end edit mode, and so does the loss of the focus.
//
// Every gesture's result is written to the settings file at once. When edit mode ends and the
// settings ask for it (PROMPTONEXIT), "Do you want to save your changes?" answered No puts
// back the records of every control clicked, as they were at its first click, and applies
// them. Afterwards the handles are gone, the host's Pixels is 0, the host has the focus, the
// event 222h is posted to the thread and ThreadResponse is 2.
//
// The edit-mode window's replaced window procedures, with the procedures they pass other
// messages on to, belong to that window and end with the call: several threads may each run
// edit mode on their own windows.
//
// Thread safety: runs on the host window's owner thread, inside its accept loop.
#ifndef TWIQLIB_EDITMODE_PROCESS_WINDOW_H_
#define TWIQLIB_EDITMODE_PROCESS_WINDOW_H_

#include <string_view>

#include "runtime/window/window.h"
#include "twiq/twiq.h"
#include "twiqlib/bindings/export.h"

namespace twiq {

// The pop-up menu's text for the control labelled `label`.
TWIQ_INTERNAL_API std::string EditMenuText(std::string_view label);

// Runs edit mode on `host` for variant (`procedure`, `marker`), starting with control
// `current_field` (0: the window) selected. `settings` is the host's group; LocateSettingsFile
// may complete its TWIQPATH with a trailing "/".
// REQUIRES: called on `host`'s owner thread, which is a runtime thread with `host` open.
TWIQ_INTERNAL_API void ProcessWindow(rt::Window& host, int current_field, std::string_view marker,
                                     std::string_view procedure, TWIQSETTINGS& settings);

}  // namespace twiq

#endif  // TWIQLIB_EDITMODE_PROCESS_WINDOW_H_
