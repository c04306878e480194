#include "runtime/display/qt/keymap.h"

#include <array>
#include <utility>

#include "runtime/event/keycodes.h"

namespace rt::qt {
namespace {

constexpr std::array<std::pair<int, int>, 19> kNamedKeys = {{
    {Qt::Key_Backspace, key::kBackspace},
    {Qt::Key_Tab, key::kTab},
    {Qt::Key_Backtab, key::kTab},  // Shift+Tab arrives as Backtab with Shift
    {Qt::Key_Return, key::kEnter},
    {Qt::Key_Enter, key::kEnter},
    {Qt::Key_Escape, key::kEsc},
    {Qt::Key_Space, key::kSpace},
    {Qt::Key_PageUp, key::kPageUp},
    {Qt::Key_PageDown, key::kPageDown},
    {Qt::Key_End, key::kEnd},
    {Qt::Key_Home, key::kHome},
    {Qt::Key_Left, key::kLeft},
    {Qt::Key_Up, key::kUp},
    {Qt::Key_Right, key::kRight},
    {Qt::Key_Down, key::kDown},
    {Qt::Key_Insert, key::kInsert},
    {Qt::Key_Delete, key::kDelete},
    {Qt::Key_Menu, key::kContext},
    {Qt::Key_Clear, 0x0C},
}};

}  // namespace

int KeyCodeOf(int qt_key, Qt::KeyboardModifiers modifiers) {
  int base = 0;
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) {
    base = key::kA + (qt_key - Qt::Key_A);
  } else if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) {
    base = key::k0 + (qt_key - Qt::Key_0);
  } else if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F12) {
    base = key::kF1 + (qt_key - Qt::Key_F1);
  } else {
    for (const auto& [qt, code] : kNamedKeys) {
      if (qt == qt_key) base = code;
    }
  }
  if (base == 0) return 0;
  int code = base;
  if (modifiers & Qt::ShiftModifier) code |= key::kShift;
  if (modifiers & Qt::ControlModifier) code |= key::kCtrl;
  if (modifiers & Qt::AltModifier) code |= key::kAlt;
  return code;
}

}  // namespace rt::qt
