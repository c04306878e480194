// Keycodes: what KEYCODE() returns and what AlertKey slots hold.
//
// A keycode is a base key (below 100h) plus modifier bits: +100h Shift, +200h Ctrl, +400h Alt.
// Letters and digits are their upper-case ASCII codes (D is 44h, so Ctrl+Alt+D is 644h).
// Mouse buttons have keycodes of their own, set when a button is pressed, so a press can be an
// alert key like any key.
#ifndef RUNTIME_EVENT_KEYCODES_H_
#define RUNTIME_EVENT_KEYCODES_H_

#include <optional>
#include <string>
#include <string_view>

namespace rt::key {

// Modifier bits.
inline constexpr int kShift = 0x100;
inline constexpr int kCtrl = 0x200;
inline constexpr int kAlt = 0x400;
inline constexpr int kModifierMask = kShift | kCtrl | kAlt;
inline constexpr int kBaseMask = 0xFF;

// Mouse keycodes.
inline constexpr int kMouseLeft = 0x01;
inline constexpr int kMouseRight = 0x02;
inline constexpr int kMouseLeftDouble = 0x05;   // double click of the left button
inline constexpr int kMouseRightDouble = 0x06;  // double click of the right button
inline constexpr int kMouseCenter = 0xC8;       // the middle button

// Keys.
inline constexpr int kBackspace = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kEnter = 0x0D;
inline constexpr int kEsc = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPageUp = 0x21;
inline constexpr int kPageDown = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int k0 = 0x30;        // k0 + n for the digit n
inline constexpr int kA = 0x41;        // kA + n for the n-th letter (kA + 3 is D)
inline constexpr int kContext = 0x5D;  // the context-menu key
inline constexpr int kF1 = 0x70;       // kF1 + n - 1 for Fn, n = 1..12
inline constexpr int kF8 = 0x77;
inline constexpr int kF9 = 0x78;
inline constexpr int kF10 = 0x79;
inline constexpr int kF12 = 0x7B;

// Keycodes the system uses by name.
inline constexpr int kCtrlAltD = kCtrl | kAlt | (kA + 3);  // 644h
inline constexpr int kCtrlH = kCtrl | (kA + 7);            // 248h
inline constexpr int kCtrlEnter = kCtrl | kEnter;          // 20Dh

// The keycode of a name such as "Ctrl+Alt+D", "shift+tab", "F10", "Esc", "Enter", "Left",
// "Delete", "MouseRight", "A", "7" or a number ("0x644", "1604"). Modifier names are Shift,
// Ctrl and Alt, joined by '+'; names are case-insensitive. nullopt when it does not parse.
std::optional<int> KeyCodeFromName(std::string_view name);

// The name of a keycode in the form KeyCodeFromName reads ("Ctrl+Alt+D"); "0x..." for a base
// key without a name.
std::string KeyCodeName(int keycode);

// The keycode that types the character `c` (ASCII): letters (upper case with Shift), digits,
// space, Enter for '\n', Tab for '\t'; 0 for a character with no key of its own (it is
// delivered as a character only).
int KeyCodeForChar(char c);

}  // namespace rt::key

#endif  // RUNTIME_EVENT_KEYCODES_H_
