// The message box as the library uses it: text with "|" as the line break, a caption, an
// icon, a set of buttons and a default, answered with the button the user pressed.
//
// Every box of the library goes through ShowMessageBox(), so that a program (and a test) can
// answer the boxes itself by installing a handler; without one the request goes to the
// runtime's dialogs (the display shows it and the calling thread blocks until it is answered).
//
// Thread safety: the handler is process-wide, guarded by a mutex; ShowMessageBox() may be
// called from any thread and runs the handler on the calling thread, outside the lock.
#ifndef TWIQLIB_BINDINGS_MESSAGE_BOX_H_
#define TWIQLIB_BINDINGS_MESSAGE_BOX_H_

#include <functional>
#include <string>

#include "twiqlib/bindings/export.h"

namespace twiq {

// Buttons: a box's button set is the sum of its buttons; the same values are returned.
inline constexpr int kButtonOk = 1;
inline constexpr int kButtonYes = 2;
inline constexpr int kButtonNo = 4;
inline constexpr int kButtonRetry = 16;
inline constexpr int kButtonCancel = 64;

enum class MessageIcon { kNone, kExclamation, kQuestion };

struct MessageBoxRequest {
  std::string text;  // "|" breaks lines
  std::string caption;
  MessageIcon icon = MessageIcon::kNone;
  int buttons = kButtonOk;
  int default_button = kButtonOk;
  int style = 0;
};

// Returns the button pressed (one of the request's buttons; a box closed otherwise answers
// with its default button).
using MessageBoxHandler = std::function<int(const MessageBoxRequest& request)>;

// Installs `handler`; an empty one restores the runtime's MESSAGE (runtime/dialog/dialog.h).
// Returns the previous handler (empty for the default).
TWIQ_INTERNAL_API MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Shows `request` and returns the button pressed. Blocks until answered.
TWIQ_INTERNAL_API int ShowMessageBox(const MessageBoxRequest& request);

}  // namespace twiq

#endif  // TWIQLIB_BINDINGS_MESSAGE_BOX_H_
