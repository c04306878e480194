// Named mouse cursors and SETCURSOR.
//
// A standard cursor is a 4-byte code (the Cursor property's value): FF 01 xx 7F for the
// system's predefined cursors, FF 02 xx 7F for cursors the runtime draws itself, FF 01 00 00
// for none. Any other Cursor value is taken as the name of a cursor file.
#ifndef RUNTIME_WINDOW_CURSORS_H_
#define RUNTIME_WINDOW_CURSORS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

struct NamedCursor {
  std::string_view name;  // "Arrow", "IBeam", ...
  std::string_view code;  // its 4 bytes
};

// The standard cursors: None, Arrow, IBeam, Wait, Cross, UpArrow, Size, Icon, SizeNWSE,
// SizeNESW, SizeWE, SizeNS, DragWE, Drop, NoDrop, Zoom.
const std::vector<NamedCursor>& StandardCursors();
// The code of a name (case-insensitive) and the name of a code (trailing spaces ignored).
std::optional<std::string> CursorCode(std::string_view name);
std::optional<std::string> CursorName(std::string_view code);

// SETCURSOR: the cursor shown over every window of the process until the next call; an empty
// code gives each control its own Cursor property back. Thread-safe.
void SetCursor(std::string code);
std::string CurrentCursor();

}  // namespace rt

#endif  // RUNTIME_WINDOW_CURSORS_H_
