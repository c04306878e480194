// "Select Mode": chooses the window variant (the marker) of the next Control Window.
#include <cstring>

#include "runtime/window/definition_builder.h"
#include "twiqdemo/windows/demo_windows.h"

namespace twiqdemo {

using rt::ControlType;
using rt::Def;

SelectModeVars::SelectModeVars() {
  std::memset(form_mode, ' ', sizeof form_mode);
  std::memcpy(form_mode, "ORIGINAL", 8);
}

rt::VarBindings Bindings(SelectModeVars& vars) {
  rt::VarBindings b;
  b.vars.emplace(kFormModeUse, rt::VarRef::Fixed(vars.form_mode));
  return b;
}

const rt::WindowDefinition& SelectModeDefinition() {
  static const rt::WindowDefinition def = rt::WindowDef("SelectMode$Window", "Select Mode")
                                              .At(40, 30)
                                              .Size(160, 116)
                                              .Font("MS Sans Serif", 8)
                                              .Flags({.mdi_child = true, .system_menu = true})
                                              .Controls({
                                                  Def("?FORMMODE", ControlType::kOption)
                                                      .Feq(kSelectModeOption)
                                                      .At(8, 6)
                                                      .Size(144, 82)
                                                      .Text("Form Mode")
                                                      .Use(kFormModeUse)
                                                      .Holds({
                                                          Def("?ORIGINAL", ControlType::kRadio)
                                                              .At(18, 18)
                                                              .Size(120, 10)
                                                              .Text("Original")
                                                              .Values("ORIGINAL"),
                                                          Def("?FLAT", ControlType::kRadio)
                                                              .At(18, 30)
                                                              .Size(120, 10)
                                                              .Text("Flat")
                                                              .Values("FLAT"),
                                                          Def("?COLORS", ControlType::kRadio)
                                                              .At(18, 42)
                                                              .Size(120, 10)
                                                              .Text("Colors")
                                                              .Values("COLORS"),
                                                          Def("?TRANSPARENT", ControlType::kRadio)
                                                              .At(18, 54)
                                                              .Size(120, 10)
                                                              .Text("Transparent")
                                                              .Values("TRANSPARENT"),
                                                          Def("?QUIT", ControlType::kRadio)
                                                              .At(18, 66)
                                                              .Size(120, 10)
                                                              .Text("Quit")
                                                              .Values("QUIT"),
                                                      }),
                                                  Def("?SELECT", ControlType::kButton)
                                                      .Feq(kSelectModeButton)
                                                      .At(56, 96)
                                                      .Size(48, 14)
                                                      .Text("&Select"),
                                              });
  return def;
}

}  // namespace twiqdemo
