// Runtime-own property codes that window definitions set (0x7F20 and up).
//
// These carry what a definition says beyond the shared property table: the window's frame
// style, a control's picture, the stored values of a choice string, and the standard action
// of a menu item. Displays read them like any other property; like every property they read
// as empty or 0 where a definition did not set them.
#ifndef RUNTIME_WINDOW_DEFINITION_CODES_H_
#define RUNTIME_WINDOW_DEFINITION_CODES_H_

#include <optional>
#include <string_view>

namespace rt::prop {

// Window frame style (flags, 1 or 0; window only).
inline constexpr int kMdiFrame = 0x7F20;   // an application frame whose client area holds children
inline constexpr int kMdiChild = 0x7F21;   // lives inside the application frame
inline constexpr int kModal = 0x7F22;      // blocks input to the other windows of the process
inline constexpr int kResizable = 0x7F23;  // the user may resize the frame
inline constexpr int kSystemMenu = 0x7F24;
inline constexpr int kMaxBox = 0x7F25;
inline constexpr int kMinBox = 0x7F26;
inline constexpr int kStatusBar = 0x7F27;  // shows the status-bar messages of its controls
// Controls.
inline constexpr int kPicture = 0x7F28;      // display and input picture, e.g. "@s20", "@n8"
inline constexpr int kChoiceValue = 0x7F29;  // indexed 1..n: value stored by choice item n
inline constexpr int kStdAction = 0x7F2A;    // menu item: standard frame action (std_actions.h)
inline constexpr int kSeparator = 0x7F2B;    // menu item: a separator line, not a command
inline constexpr int kUse = 0x7F2C;          // the name of the bound variable, for state dumps
// Menu-bar entries: the 1-based place among the entries of the same menu (or of the bar),
// the order in which they show; their field equates need not follow it.
inline constexpr int kMenuPosition = 0x7F2D;
// window: the last standard arrangement chosen from its menu (a StdAction name), for displays.
inline constexpr int kLastFrameAction = 0x7F2E;

// The name of one of the codes above ("MdiFrame", "Picture", ...); nullopt for any other.
std::optional<std::string_view> DefinitionPropertyName(int code);

}  // namespace rt::prop

#endif  // RUNTIME_WINDOW_DEFINITION_CODES_H_
