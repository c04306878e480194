// Qt keys as the runtime's keycodes (runtime/event/keycodes.h).
//
// Letters, digits, function keys, editing and navigation keys have keycodes; modifiers add
// +100h Shift, +200h Ctrl, +400h Alt. Keys without a keycode of their own (punctuation, letters
// outside A-Z) only type their characters. Pure functions.
#ifndef RUNTIME_DISPLAY_QT_KEYMAP_H_
#define RUNTIME_DISPLAY_QT_KEYMAP_H_

#include <Qt>

namespace rt::qt {

// The keycode of `qt_key` (a Qt::Key) pressed with `modifiers`; 0 when the key has none.
int KeyCodeOf(int qt_key, Qt::KeyboardModifiers modifiers);

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_KEYMAP_H_
