// The runtime's named cursors as Qt cursors.
//
// A Cursor value is a standard cursor's 4-byte code, a standard cursor's name, or the name of
// a cursor file (an image whose centre is the hot spot). GUI thread only.
#ifndef RUNTIME_DISPLAY_QT_QT_CURSORS_H_
#define RUNTIME_DISPLAY_QT_QT_CURSORS_H_

#include <QCursor>
#include <optional>
#include <string>
#include <string_view>

namespace rt::qt {

// The cursor a value asks for; nullopt for a blank value (the default cursor) or a file that
// cannot be read.
std::optional<QCursor> CursorOf(std::string_view value);

// The runtime name of the standard cursor a Qt cursor shows ("Arrow", "SizeNWSE", ...);
// "File" for a cursor from a file.
std::string CursorNameOf(const QCursor& cursor);

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_QT_CURSORS_H_
