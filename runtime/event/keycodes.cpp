#include "runtime/event/keycodes.h"

#include <charconv>
#include <cstdio>
#include <utility>

#include "runtime/value/text.h"

namespace rt::key {
namespace {

struct NamedKey {
  int code;
  std::string_view name;
};

// Names for base keys that are not a letter, a digit or a function key. The first name of a
// code is the one KeyCodeName writes.
constexpr NamedKey kNamedKeys[] = {
    {kMouseLeft, "MouseLeft"},
    {kMouseRight, "MouseRight"},
    {kMouseLeftDouble, "MouseLeftDouble"},
    {kMouseRightDouble, "MouseRightDouble"},
    {kMouseCenter, "MouseCenter"},
    {kBackspace, "Backspace"},
    {kTab, "Tab"},
    {kEnter, "Enter"},
    {kEnter, "Return"},
    {kEsc, "Esc"},
    {kEsc, "Escape"},
    {kSpace, "Space"},
    {kPageUp, "PageUp"},
    {kPageUp, "PgUp"},
    {kPageDown, "PageDown"},
    {kPageDown, "PgDn"},
    {kEnd, "End"},
    {kHome, "Home"},
    {kLeft, "Left"},
    {kUp, "Up"},
    {kRight, "Right"},
    {kDown, "Down"},
    {kInsert, "Insert"},
    {kInsert, "Ins"},
    {kDelete, "Delete"},
    {kDelete, "Del"},
    {kContext, "Context"},
    {kContext, "Menu"},
};

std::optional<int> BaseKeyFromName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'a' && c <= 'z') return kA + (c - 'a');
    if (c >= 'A' && c <= 'Z') return kA + (c - 'A');
    if (c >= '0' && c <= '9') return k0 + (c - '0');
    return std::nullopt;
  }
  for (const NamedKey& k : kNamedKeys) {
    if (ClipEquals(k.name, name)) return k.code;
  }
  if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
    int n = 0;
    auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
    if (ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 12) {
      return kF1 + n - 1;
    }
  }
  return std::nullopt;
}

std::optional<int> NumberFromName(std::string_view name) {
  int base = 10;
  if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
    base = 16;
    name.remove_prefix(2);
  }
  int value = 0;
  auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), value, base);
  if (ec != std::errc() || end != name.data() + name.size() || value < 0 ||
      value > (kModifierMask | kBaseMask)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<int> KeyCodeFromName(std::string_view name) {
  if (!name.empty() && name[0] >= '0' && name[0] <= '9' && name.size() > 1) {
    return NumberFromName(name);
  }
  int modifiers = 0;
  while (true) {
    const size_t plus = name.find('+');
    // A trailing '+' alone ("Ctrl++") is not a key we name; "+" must not be empty either.
    if (plus == std::string_view::npos || plus == 0) break;
    const std::string_view part = name.substr(0, plus);
    if (ClipEquals(part, "Shift")) {
      modifiers |= kShift;
    } else if (ClipEquals(part, "Ctrl") || ClipEquals(part, "Control")) {
      modifiers |= kCtrl;
    } else if (ClipEquals(part, "Alt")) {
      modifiers |= kAlt;
    } else {
      return std::nullopt;
    }
    name.remove_prefix(plus + 1);
  }
  std::optional<int> base = BaseKeyFromName(name);
  if (!base) return std::nullopt;
  return *base | modifiers;
}

std::string KeyCodeName(int keycode) {
  std::string out;
  if (keycode & kShift) out += "Shift+";
  if (keycode & kCtrl) out += "Ctrl+";
  if (keycode & kAlt) out += "Alt+";
  const int base = keycode & kBaseMask;
  if ((base >= kA && base < kA + 26) || (base >= k0 && base < k0 + 10)) {
    out += static_cast<char>(base);
    return out;
  }
  if (base >= kF1 && base <= kF12) return out + "F" + std::to_string(base - kF1 + 1);
  for (const NamedKey& k : kNamedKeys) {
    if (k.code == base) return out + std::string(k.name);
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(base));
  return out + buf;
}

int KeyCodeForChar(char c) {
  if (c >= 'a' && c <= 'z') return kA + (c - 'a');
  if (c >= 'A' && c <= 'Z') return kShift | (kA + (c - 'A'));
  if (c >= '0' && c <= '9') return k0 + (c - '0');
  if (c == ' ') return kSpace;
  if (c == '\n' || c == '\r') return kEnter;
  if (c == '\t') return kTab;
  return 0;
}

}  // namespace rt::key
