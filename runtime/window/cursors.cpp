#include "runtime/window/cursors.h"

#include <mutex>

#include "runtime/value/text.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

std::mutex cursor_mu;
std::string current_cursor;  // guarded by cursor_mu

}  // namespace

const std::vector<NamedCursor>& StandardCursors() {
  using namespace std::string_view_literals;
  static const std::vector<NamedCursor> kCursors = {
      {"None", "\xFF\x01\x00\x00"sv},     {"Arrow", "\xFF\x01\x01\x7F"sv},
      {"IBeam", "\xFF\x01\x02\x7F"sv},    {"Wait", "\xFF\x01\x03\x7F"sv},
      {"Cross", "\xFF\x01\x04\x7F"sv},    {"UpArrow", "\xFF\x01\x05\x7F"sv},
      {"Size", "\xFF\x01\x81\x7F"sv},     {"Icon", "\xFF\x01\x82\x7F"sv},
      {"SizeNWSE", "\xFF\x01\x83\x7F"sv}, {"SizeNESW", "\xFF\x01\x84\x7F"sv},
      {"SizeWE", "\xFF\x01\x85\x7F"sv},   {"SizeNS", "\xFF\x01\x86\x7F"sv},
      {"DragWE", "\xFF\x02\x01\x7F"sv},   {"Drop", "\xFF\x02\x02\x7F"sv},
      {"NoDrop", "\xFF\x02\x03\x7F"sv},   {"Zoom", "\xFF\x02\x04\x7F"sv},
  };
  return kCursors;
}

std::optional<std::string> CursorCode(std::string_view name) {
  for (const auto& c : StandardCursors()) {
    if (ClipEquals(c.name, name)) return std::string(c.code);
  }
  return std::nullopt;
}

std::optional<std::string> CursorName(std::string_view code) {
  for (const auto& c : StandardCursors()) {
    if (ClipCompareCase(c.code, code) == 0) return std::string(c.name);
  }
  return std::nullopt;
}

void SetCursor(std::string code) {
  {
    std::lock_guard lock(cursor_mu);
    if (current_cursor == code) return;
    current_cursor = std::move(code);
  }
  AnnounceInputStateChanged();
}

std::string CurrentCursor() {
  std::lock_guard lock(cursor_mu);
  return current_cursor;
}

}  // namespace rt
