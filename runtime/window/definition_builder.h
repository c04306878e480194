// Builders for window definitions, so a definition reads like the form it lays out:
//
//   rt::WindowDef("P1$SAMPLE", "Sample")
//       .At(10, 10).Size(200, 100).Font("MS Sans Serif", 8)
//       .Menus({rt::Menu("&File", {rt::Item("E&xit").Action(rt::StdAction::kExit)})})
//       .Controls({
//           rt::Def("?NAME", rt::ControlType::kEntry).At(8, 8).Size(80, 12).Picture("@s20"),
//           rt::Def("?OPTION", rt::ControlType::kOption).At(8, 24).Size(80, 30).Use("Mode")
//               .Holds({rt::Def("?A", rt::ControlType::kRadio).At(12, 34).Values("A")}),
//           rt::Def("?OK", rt::ControlType::kButton).At(150, 80).Size(40, 14).Text("&OK"),
//       });
//
// Each builder converts to the plain definition of definition.h; everything it sets is a
// field there (or, for the conveniences below marked "property", a PropertySetting).
#ifndef RUNTIME_WINDOW_DEFINITION_BUILDER_H_
#define RUNTIME_WINDOW_DEFINITION_BUILDER_H_

#include <string>
#include <utility>
#include <vector>

#include "runtime/window/definition.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/std_actions.h"

namespace rt {

class Def {
 public:
  Def(std::string label, ControlType kind) {
    d_.label = std::move(label);
    d_.kind = kind;
  }
  // The kind by name ("ENTRY"); an unknown name fails when the window is built.
  Def(std::string label, std::string kind_name) {
    d_.label = std::move(label);
    d_.kind_name = std::move(kind_name);
  }

  Def& Feq(int feq) { return d_.feq = feq, *this; }
  Def& In(std::string parent_label) { return d_.parent = std::move(parent_label), *this; }
  Def& In(int parent_feq) { return d_.parent_feq = parent_feq, *this; }
  Def& At(int64_t x, int64_t y) { return d_.x = x, d_.y = y, *this; }
  Def& Size(int64_t width, int64_t height) { return d_.width = width, d_.height = height, *this; }
  Def& Width(int64_t width) { return d_.width = width, *this; }
  Def& Height(int64_t height) { return d_.height = height, *this; }
  // Full width and height, except a dimension given by Size, Width or Height (before or after).
  Def& Full() {
    if (d_.width == kDefaultSize) d_.width = kFullSize;
    if (d_.height == kDefaultSize) d_.height = kFullSize;
    return *this;
  }
  Def& Text(std::string text) { return d_.text = std::move(text), *this; }
  Def& Use(std::string name) { return d_.use = std::move(name), *this; }
  Def& Choices(std::string choices) { return d_.choices = std::move(choices), *this; }
  Def& From(std::vector<std::string> rows) { return d_.from = std::move(rows), *this; }
  Def& Source(std::string name) { return d_.source = std::move(name), *this; }
  Def& Format(std::string format) { return d_.format = std::move(format), *this; }
  Def& Picture(std::string picture) { return d_.picture = std::move(picture), *this; }
  // Radio: the value it gives its option group.
  Def& Values(rt::Value value) { return d_.value = std::move(value), *this; }
  // Check box: the values stored when set and when cleared.
  Def& Values(rt::Value on, rt::Value off) {
    d_.value = std::move(on);
    d_.false_value = std::move(off);
    return *this;
  }
  Def& Icon(std::string icon) { return d_.icon = std::move(icon), *this; }
  Def& Tip(std::string tip) { return d_.tip = std::move(tip), *this; }
  Def& Help(std::string help) { return d_.help = std::move(help), *this; }
  Def& Msg(std::string message) { return d_.message = std::move(message), *this; }
  Def& Hidden(bool on = true) { return d_.hidden = on, *this; }
  Def& Disabled(bool on = true) { return d_.disabled = on, *this; }
  Def& Skip(bool on = true) { return d_.skip = on, *this; }
  Def& Font(std::string face, int size = 0, int style = 0) {
    d_.font = {std::move(face), size, style};
    return *this;
  }
  Def& TextColour(int64_t colour) { return d_.text_colour = colour, *this; }
  Def& Background(int64_t colour) { return d_.background_colour = colour, *this; }
  Def& Fill(int64_t colour) { return d_.fill_colour = colour, *this; }
  Def& AlertKey(int keycode) { return d_.alert_keys.push_back(keycode), *this; }
  Def& Action(StdAction action) { return d_.action = std::string(StdActionName(action)), *this; }
  Def& Action(std::string name) { return d_.action = std::move(name), *this; }
  Def& Prop(int code, rt::Value value, int index = 0) {
    d_.properties.push_back({code, index, std::move(value)});
    return *this;
  }
  // Properties: spin-box range and step; list and entry attributes.
  Def& Range(rt::Value low, rt::Value high) {
    return Prop(prop::kRangeLow, std::move(low)).Prop(prop::kRangeHigh, std::move(high));
  }
  Def& Step(rt::Value step) { return Prop(prop::kStep, std::move(step)); }
  Def& DropCount(int rows) { return Prop(prop::kDropCount, rows); }
  Def& VScroll() { return Prop(prop::kVScroll, 1); }
  Def& ReadOnly() { return Prop(prop::kReadOnly, 1); }
  Def& Transparent() { return Prop(prop::kTransparent, 1); }
  Def& Holds(std::vector<ControlDefinition> children) {
    for (ControlDefinition& c : children) d_.children.push_back(std::move(c));
    return *this;
  }

  operator ControlDefinition() const& { return d_; }         // NOLINT: converts by design
  operator ControlDefinition() && { return std::move(d_); }  // NOLINT
  const ControlDefinition& definition() const { return d_; }

 private:
  ControlDefinition d_;
};

// Menu-bar entries: a menu holding items (and menus), a command item, a separator line.
inline Def Menu(std::string text, std::vector<ControlDefinition> items) {
  return std::move(Def("", ControlType::kMenu).Text(std::move(text)).Holds(std::move(items)));
}
inline Def Menu(std::string label, std::string text, std::vector<ControlDefinition> items) {
  return std::move(
      Def(std::move(label), ControlType::kMenu).Text(std::move(text)).Holds(std::move(items)));
}
inline Def Item(std::string text) {
  return std::move(Def("", ControlType::kItem).Text(std::move(text)));
}
inline Def Item(std::string label, std::string text) {
  return std::move(Def(std::move(label), ControlType::kItem).Text(std::move(text)));
}
inline ControlDefinition Separator() {
  ControlDefinition d;
  d.kind = ControlType::kItem;
  d.separator = true;
  return d;
}

class WindowDef {
 public:
  WindowDef(std::string label, std::string title) {
    w_.label = std::move(label);
    w_.title = std::move(title);
  }
  WindowDef& At(int64_t x, int64_t y) { return w_.x = x, w_.y = y, *this; }
  WindowDef& Size(int64_t width, int64_t height) {
    return w_.width = width, w_.height = height, *this;
  }
  WindowDef& Font(std::string face, int size = 0, int style = 0) {
    w_.font = {std::move(face), size, style};
    return *this;
  }
  WindowDef& Icon(std::string icon) { return w_.icon = std::move(icon), *this; }
  WindowDef& Help(std::string help) { return w_.help = std::move(help), *this; }
  WindowDef& Flags(WindowFlags flags) { return w_.flags = flags, *this; }
  WindowDef& AlertKey(int keycode) { return w_.alert_keys.push_back(keycode), *this; }
  WindowDef& Prop(int code, rt::Value value, int index = 0) {
    w_.properties.push_back({code, index, std::move(value)});
    return *this;
  }
  WindowDef& Menus(std::vector<ControlDefinition> entries) {
    for (ControlDefinition& c : entries) w_.menu_bar.push_back(std::move(c));
    return *this;
  }
  WindowDef& Controls(std::vector<ControlDefinition> controls) {
    for (ControlDefinition& c : controls) w_.controls.push_back(std::move(c));
    return *this;
  }

  operator WindowDefinition() const& { return w_; }         // NOLINT: converts by design
  operator WindowDefinition() && { return std::move(w_); }  // NOLINT
  const WindowDefinition& definition() const { return w_; }

 private:
  WindowDefinition w_;
};

}  // namespace rt

#endif  // RUNTIME_WINDOW_DEFINITION_BUILDER_H_
