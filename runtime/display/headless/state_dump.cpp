#include "runtime/display/headless/state_dump.h"

#include <algorithm>
#include <cstdio>

#include "runtime/event/accept.h"
#include "runtime/event/os_window.h"
#include "runtime/value/json_text.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

std::string JsonValue(const Value& v) {
  if (v.is_text()) return JsonQuote(v.AsText());
  if (v.kind() == Value::Kind::kInteger) return std::to_string(v.AsInt());
  return NumberToText(v.AsNumber());
}

std::string PropertyKey(int code, int index) {
  std::string name;
  if (auto n = prop::PropertyName(code)) {
    name = std::string(*n);
  } else {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(code));
    name = buf;
  }
  if (index != 0) name += "[" + std::to_string(index) + "]";
  return name;
}

std::string Geometry(const Rect& r, bool units, const FontMetrics& m) {
  auto x = [&](int64_t v) { return units ? PixelsToDialogX(v, m) : v; };
  auto y = [&](int64_t v) { return units ? PixelsToDialogY(v, m) : v; };
  return "{\"x\": " + std::to_string(x(r.x)) + ", \"y\": " + std::to_string(y(r.y)) +
         ", \"width\": " + std::to_string(x(r.width)) +
         ", \"height\": " + std::to_string(y(r.height)) + "}";
}

std::string Properties(const std::map<std::pair<int, int>, Value>& props) {
  std::string out = "{";
  bool first = true;
  for (const auto& [key, value] : props) {
    out += (first ? "" : ", ") + JsonQuote(PropertyKey(key.first, key.second)) + ": " +
           JsonValue(value);
    first = false;
  }
  return out + "}";
}

std::string WindowJson(const Window& w, const std::string& indent) {
  const WindowState s = w.Snapshot();
  const std::vector<WindowRef> stack = ThreadWindows(s.owner_thread);
  const bool top = !stack.empty() && stack.back() == s.ref;
  const bool on_stack = std::find(stack.begin(), stack.end(), s.ref) != stack.end();
  std::string out =
      indent + "{\"ref\": " + std::to_string(s.ref) + ", \"label\": " + JsonQuote(s.label) +
      ", \"title\": " + JsonQuote(w.Get(0, prop::kText).AsText()) +
      ", \"thread\": " + std::to_string(s.owner_thread) +
      ", \"open\": " + (on_stack ? "true" : "false") + ", \"top\": " + (top ? "true" : "false") +
      ", \"focus\": " + std::to_string(s.focus) + ",\n" + indent +
      " \"pixels\": " + Geometry(s.rect, false, s.metrics) +
      ", \"units\": " + Geometry(s.rect, true, s.metrics) + ",\n" + indent +
      " \"properties\": " + Properties(s.properties) + ",\n" + indent + " \"controls\": [";
  bool first = true;
  for (const ControlState& c : s.controls) {
    out += std::string(first ? "\n" : ",\n") + indent + "  {\"feq\": " + std::to_string(c.feq) +
           ", \"label\": " + JsonQuote(c.label) +
           ", \"type\": " + JsonQuote(ControlTypeName(c.type)) +
           ", \"parent\": " + std::to_string(c.parent) +
           ", \"visible\": " + (c.visible ? "true" : "false") +
           ", \"contents\": " + JsonValue(w.Contents(c.feq)) +
           ", \"pixels\": " + Geometry(c.rect, false, s.metrics) +
           ", \"units\": " + Geometry(c.rect, true, s.metrics) +
           ", \"properties\": " + Properties(c.properties) + "}";
    first = false;
  }
  out += std::string(first ? "" : "\n" + indent + " ") + "]}";
  return out;
}

}  // namespace

std::string DumpWindowJson(WindowRef ref) {
  std::shared_ptr<Window> w = FindWindow(ref);
  return w ? WindowJson(*w, "") : "null";
}

std::string DumpWindowsJson() {
  std::string out = "{\"focus\": " + std::to_string(FocusedWindow()) +
                    ", \"capture\": " + std::to_string(GetCapture()) + ", \"windows\": [";
  bool first = true;
  for (const auto& w : OpenWindows()) {
    out += std::string(first ? "\n" : ",\n") + WindowJson(*w, "  ");
    first = false;
  }
  return out + (first ? "" : "\n") + "]}\n";
}

}  // namespace rt
