// The "Control Window": one or more controls of most kinds, for the library to customise.
// Labels, kinds, texts and the field-equate order are what settings files and the event
// handling depend on; the geometry is free (dialog units, nothing overlaps but a control
// inside the one that holds it).
#include <cstring>
#include <string>
#include <vector>

#include "runtime/window/definition_builder.h"
#include "twiqdemo/windows/demo_windows.h"

namespace twiqdemo {

using rt::ControlType;
using rt::Def;

namespace {

// An entry of 20 characters with its help identifier, status-bar message and tip.
Def TestEntry(std::string label, int64_t x, int64_t y) {
  return std::move(Def(std::move(label), ControlType::kEntry)
                       .At(x, y)
                       .Size(90, 12)
                       .Picture("@s20")
                       .Help("Help")
                       .Msg("Message")
                       .Tip("Tip"));
}

Def TestList(std::string label, int64_t x, std::string format) {
  return std::move(Def(std::move(label), ControlType::kList)
                       .At(x, 96)
                       .Size(150, 60)
                       .Format(std::move(format))
                       .From(std::vector<std::string>(7, "Line 1"))
                       .VScroll());
}

}  // namespace

ControlWindowVars::ControlWindowVars() {
  static constexpr char kStart[] = "This is TEXT control";
  std::memset(text_text, ' ', sizeof text_text);
  std::memcpy(text_text, kStart, sizeof kStart - 1);
}

rt::VarBindings Bindings(ControlWindowVars& vars) {
  rt::VarBindings b;
  b.vars.emplace(kTextTextUse, rt::VarRef::Fixed(vars.text_text));
  return b;
}

const rt::WindowDefinition& ControlWindowDefinition() {
  static const rt::WindowDefinition def =
      rt::WindowDef("Main$Window", "Control Window")
          .At(20, 20)
          .Size(320, 228)
          .Font("MS Sans Serif", 8)
          .Flags({.mdi_child = true, .resizable = true, .system_menu = true, .max_box = true})
          .Controls({
              Def("?TOOLBAR1", ControlType::kToolbar)
                  .At(0, 0)
                  .Size(rt::kFullSize, 18)
                  .Holds({Def("?BUTTON1", ControlType::kButton)
                              .At(4, 2)
                              .Size(64, 14)
                              .Text("Toolbar Button")}),
              Def("?PANEL1", ControlType::kPanel).At(4, 22).Size(150, 22),
              Def("?STRING1", ControlType::kString)
                  .At(160, 29)
                  .Size(156, 10)
                  .Text("Press CtrlAltD to switch to Twiq mode"),
              Def("?PROMPT2:2", ControlType::kPrompt)
                  .At(4, 52)
                  .Size(56, 10)
                  .Text("Font Prompt")
                  .Font("Arial"),
              Def("?OPTION1", ControlType::kOption)
                  .At(64, 46)
                  .Size(128, 26)
                  .Text("Option 1")
                  .Holds({
                      Def("?OPTION1:RADIO1", ControlType::kRadio)
                          .At(70, 57)
                          .Size(56, 10)
                          .Text("Radio 1"),
                      Def("?OPTION1:RADIO1:2", ControlType::kRadio)
                          .At(130, 57)
                          .Size(56, 10)
                          .Text("Radio 2"),
                  }),
              Def("?PROMPT1", ControlType::kPrompt).At(198, 52).Size(48, 10).Text("Prompt 1"),
              Def("?BUTTON3:2", ControlType::kButton).At(252, 48).Size(64, 14).Text("Test"),
              TestEntry("?TESTENTRY", 4, 78),
              // Sized by its text, as its name says.
              Def("?PROMPT2", ControlType::kPrompt).At(100, 80).Text("Default width"),
              TestList("?LIST1", 4, "1020L(2)|M~Text~@s255@"),
              TestEntry("?TESTENTRY:2", 164, 78),
              TestList("?LIST2", 164, "1020L(2)|M~Text Text~@s255@"),
              Def("?TEXTTEXT", ControlType::kText).At(4, 162).Size(150, 40).Use(kTextTextUse),
              Def("?BUTTON3", ControlType::kButton)
                  .At(164, 162)
                  .Size(72, 14)
                  .Text("Press to start"),
              Def("?TESTCHECK", ControlType::kCheck).At(164, 182).Size(72, 10).Text("Check 1"),
              Def("?SPIN1", ControlType::kSpin).At(242, 162).Size(74, 12).Picture("@s20"),
              Def("?OKBUTTON", ControlType::kButton).At(212, 208).Size(50, 14).Text("&OK"),
              Def("?CANCELBUTTON", ControlType::kButton).At(266, 208).Size(50, 14).Text("&Cancel"),
          });
  return def;
}

}  // namespace twiqdemo
