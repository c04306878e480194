#include "twiqlib/windows/morph_window.h"

#include "runtime/event/keycodes.h"
#include "runtime/window/definition_builder.h"

namespace twiq {

const rt::WindowDefinition& MorphWindowDefinition() {
  namespace key = rt::key;
  static const rt::WindowDefinition def = rt::WindowDef("P1$MORPHWINDOW", "Box")
                                              .At(0, 0)
                                              .Size(60, 40)
                                              .Font("MS Sans Serif", 8)
                                              // In this order: F10, F8, F9, left double click,
                                              // right button, the four arrows, Esc, middle button.
                                              .AlertKey(key::kF10)
                                              .AlertKey(key::kF8)
                                              .AlertKey(key::kF9)
                                              .AlertKey(key::kMouseLeftDouble)
                                              .AlertKey(key::kMouseRight)
                                              .AlertKey(key::kRight)
                                              .AlertKey(key::kLeft)
                                              .AlertKey(key::kUp)
                                              .AlertKey(key::kDown)
                                              .AlertKey(key::kEsc)
                                              .AlertKey(key::kMouseCenter)
                                              .Controls({
                                                  rt::Def("?DOWN", rt::ControlType::kButton)
                                                      .Feq(kMorphDown)
                                                      .At(2, 2)
                                                      .Size(16, 10)
                                                      .Text("MD"),
                                                  rt::Def("?MOUSEMOVE", rt::ControlType::kButton)
                                                      .Feq(kMorphMouseMove)
                                                      .At(20, 2)
                                                      .Size(16, 10)
                                                      .Text("MM"),
                                                  rt::Def("?UP", rt::ControlType::kButton)
                                                      .Feq(kMorphUp)
                                                      .At(38, 2)
                                                      .Size(16, 10)
                                                      .Text("MU"),
                                              });
  return def;
}

}  // namespace twiq
