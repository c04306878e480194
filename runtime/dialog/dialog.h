// Dialogs: MESSAGE, POPUP, the colour dialog and the file dialog.
//
// Each is a request to the current display (runtime/display/display.h); the calling thread
// blocks until the display answers. With no display installed the request is written to
// standard error and answered with "no choice" (the default button, no item, nothing chosen),
// so a program never hangs for want of a user. Callable from any thread; a runtime thread
// waiting for an answer counts as busy (idle.h).
#ifndef RUNTIME_DIALOG_DIALOG_H_
#define RUNTIME_DIALOG_DIALOG_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/dialog/dialog_request.h"

namespace rt {

// MESSAGE: shows `text` ("|" breaks lines) with `caption` and `icon` (a name such as
// "Question", "Exclamation", "Hand", "Asterisk", or empty), offering `buttons` (a sum of
// button::k*; 0 means OK). `default_button` is the one Enter presses; one not offered means the
// first offered. Returns the button pressed, always one of those offered.
int MessageBox(std::string_view text, std::string_view caption = "", std::string_view icon = "",
               int buttons = button::kOk, int default_button = 0);

// POPUP: shows the menu (see ParsePopupMenu) at `position` (client pixels of the calling
// thread's top window) or, when none is given, at the pointer. Returns the number of the item
// chosen, 0 for none; never a greyed item.
int Popup(std::string_view menu, std::optional<std::pair<int, int>> position = std::nullopt);

// The colour dialog: starts at `colour`; returns true and stores the choice in `colour` when
// the user chose one, false (and leaves `colour`) otherwise.
bool ColourDialog(std::string_view title, int64_t& colour);

// The file dialog: starts at `file`, offers `filter` ("description|pattern" pairs joined by
// "|", e.g. "Settings|*.twiq|All files|*.*"), with the caller's `flags` passed to the display.
// Returns true and stores the chosen name in `file`, false (leaving `file`) otherwise.
bool FileDialog(std::string_view title, std::string& file, std::string_view filter = "",
                int flags = 0);

// Sends a prepared request to the display and waits for its answer (what the functions above
// do). The answer is checked: a button not offered becomes the default, an item that is not a
// choosable item becomes 0.
DialogAnswer AskDisplay(DialogRequest request);

}  // namespace rt

#endif  // RUNTIME_DIALOG_DIALOG_H_
