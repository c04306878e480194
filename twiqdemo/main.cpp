// twiqdemo: the demonstration host of the Twiq library.
//
// The frame "Application" offers "&Twiq", which starts a thread per choice: it asks for the
// window variant in "Select Mode" and opens the "Control Window" in that variant, customised
// by TWIQ:SETWINDOWCONTROLS. Ctrl+Alt+D or "Press to start" enters edit mode through
// TWIQ:PROCESSWINDOW. The settings file lies beside the executable (twiqdemo.twiq).
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/display/run.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/value/text.h"
#include "runtime/window/definition.h"
#include "runtime/window/property_codes.h"
#include "twiq/twiq.h"
#include "twiqdemo/form_window.h"
#include "twiqdemo/windows/demo_windows.h"

namespace twiqdemo {
namespace {

constexpr char kProcedure[] = "Main";
constexpr size_t kModeThreadStack = 25000;

std::shared_ptr<rt::Window> OpenDefinition(const rt::WindowDefinition& def,
                                           const rt::VarBindings& bindings) {
  rt::Status status;
  auto window = rt::BuildWindow(def, rt::CurrentThread(), bindings, &status);
  if (!window) {
    std::fprintf(stderr, "twiqdemo: cannot open a window: %s\n", status.ToString().c_str());
    return nullptr;
  }
  status = rt::Open(window->ref());
  if (!status.ok()) {
    std::fprintf(stderr, "twiqdemo: cannot open a window: %s\n", status.ToString().c_str());
    return nullptr;
  }
  return window;
}

void EnterEditMode(rt::Window& window, int field, const std::string& marker,
                   TWIQSETTINGS& settings) {
  twiq_process_window(window.ref(), field, marker.c_str(), kProcedure, &settings);
}

void RunControlWindow(const std::string& marker) {
  TWIQSETTINGS settings;
  std::memset(settings.TWIQPATH, ' ', sizeof settings.TWIQPATH);
  std::memset(settings.PASSWORD, ' ', sizeof settings.PASSWORD);
  settings.PROMPTONEXIT = 0;

  ControlWindowVars vars;
  auto window = OpenDefinition(ControlWindowDefinition(), Bindings(vars));
  if (!window) return;
  twiq_set_window_controls(window->ref(), marker.c_str(), kProcedure, &settings);
  window->Display();
  window->Set(0, rt::prop::kAlertKey, rt::key::kCtrlAltD, 255);

  FormWindow form(*window, kControlWindowFirstSelected);
  while (rt::Accept(window->ref())) {
    switch (rt::Event()) {
      case rt::event::kAlertKey:
        if (rt::KeyCode() == rt::key::kCtrlAltD) {
          EnterEditMode(*window, rt::Field(), marker, settings);
        }
        break;
      case rt::event::kAccepted:
        switch (rt::Field()) {
          case kControlWindowPressToStart:
            EnterEditMode(*window, rt::Field(), marker, settings);
            break;
          case kControlWindowOk:
          case kControlWindowCancel:
            rt::Post(rt::event::kCloseWindow);
            break;
        }
        break;
      default:
        form.HandleCommonEvent();
    }
  }
  rt::Close(window->ref());
}

// One use of "&Twiq": choose the variant, then show the Control Window in it.
void RunModeSelection() {
  SelectModeVars vars;
  {
    auto window = OpenDefinition(SelectModeDefinition(), Bindings(vars));
    if (!window) return;
    FormWindow form(*window, kSelectModeOption);
    while (rt::Accept(window->ref())) {
      if (rt::Event() == rt::event::kAccepted && rt::Field() == kSelectModeButton) {
        rt::Post(rt::event::kCloseWindow);
      } else {
        form.HandleCommonEvent();
      }
    }
    rt::Close(window->ref());
  }
  const std::string marker = rt::Clip(std::string(vars.form_mode, sizeof vars.form_mode));
  if (marker.empty() || rt::ClipEquals(marker, "QUIT")) return;
  RunControlWindow(marker);
}

void ProgramMain() {
  auto frame = OpenDefinition(FrameDefinition(), {});
  if (!frame) return;
  frame->Set(0, rt::prop::kFrameOption, 0);
  FormWindow form(*frame, 1);
  while (rt::Accept(frame->ref())) {
    if (rt::Event() == rt::event::kAccepted && rt::Field() == kFrameTwiqItem) {
      rt::Start(RunModeSelection, kModeThreadStack);
    } else {
      form.HandleCommonEvent();
    }
  }
  rt::Close(frame->ref());
}

}  // namespace
}  // namespace twiqdemo

int main(int argc, char** argv) { return rt::Run(argc, argv, twiqdemo::ProgramMain); }
