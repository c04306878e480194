// The demonstration program's windows: the application frame, "Select Mode" and the
// "Control Window", as definitions for rt::BuildWindow, with the variables they bind.
//
// The definitions are built once, on first use, and are read-only afterwards: any thread may
// open them. Each opening needs its own variables (the structs below), which must outlive
// the window they are bound in.
#ifndef TWIQDEMO_WINDOWS_DEMO_WINDOWS_H_
#define TWIQDEMO_WINDOWS_DEMO_WINDOWS_H_

#include <cstddef>

#include "runtime/window/definition.h"

namespace twiqdemo {

// The application frame "Application": the menu bar; every item but "&Twiq" is a standard
// frame action.
const rt::WindowDefinition& FrameDefinition();
inline constexpr int kFrameTwiqItem = -10;  // "&Twiq": starts a mode-selection thread

// "Select Mode": the option group "Form Mode" of five radios and the button "&Select".
const rt::WindowDefinition& SelectModeDefinition();
inline constexpr int kSelectModeOption = 1;  // radios 2..6
inline constexpr int kSelectModeButton = 7;
inline constexpr size_t kFormModeWidth = 32;
inline constexpr char kFormModeUse[] = "LOC:FormMode";

struct SelectModeVars {
  SelectModeVars();                // form_mode = "ORIGINAL", space padded
  char form_mode[kFormModeWidth];  // the marker chosen: ORIGINAL, FLAT, COLORS, TRANSPARENT, QUIT
};
rt::VarBindings Bindings(SelectModeVars& vars);

// The "Control Window": 21 controls, one or more of most kinds.
const rt::WindowDefinition& ControlWindowDefinition();
inline constexpr int kControlWindowFirstSelected = 3;  // ?PANEL1, selected when it opens
inline constexpr int kControlWindowTestEntry = 11;
inline constexpr int kControlWindowPressToStart = 17;
inline constexpr int kControlWindowOk = 20;
inline constexpr int kControlWindowCancel = 21;
inline constexpr size_t kTextTextWidth = 512;
inline constexpr char kTextTextUse[] = "LOC:TextText";

struct ControlWindowVars {
  ControlWindowVars();             // text_text = "This is TEXT control", space padded
  char text_text[kTextTextWidth];  // ?TEXTTEXT
};
rt::VarBindings Bindings(ControlWindowVars& vars);

}  // namespace twiqdemo

#endif  // TWIQDEMO_WINDOWS_DEMO_WINDOWS_H_
