// Scripted-user scenarios of edit mode: the demo's Control Window on a runtime thread of the
// test process, the headless display, and a settings file in a temporary folder.
//
// The program thread opens the window, customises it (so the originals are recorded) and
// runs edit mode on Ctrl+Alt+D with the focused control, as a host does. The fixture is the
// user: it drives the robot and reads the window's JSON dump and the settings file.
#ifndef TESTS_E2E_EDIT_MODE_SCENARIO_H_
#define TESTS_E2E_EDIT_MODE_SCENARIO_H_

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/display/headless/headless_display.h"
#include "runtime/display/headless/robot.h"
#include "runtime/display/headless/state_dump.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/window/definition.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"
#include "tests/twiqlib/engine/engine_test_util.h"
#include "twiq/twiq.h"
#include "twiqdemo/windows/demo_windows.h"

namespace twiq::testing {

inline constexpr char kProcedure[] = "ControlWindowProc";
inline constexpr char kMarker[] = "EDIT";

// A control's geometry as the JSON dump shows it.
struct DumpRect {
  int64_t x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const DumpRect&, const DumpRect&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const DumpRect& r) {
  return os << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

// The "pixels" (or, with `units`, the "units") geometry of control `feq` in a window's JSON
// dump; nullopt when the dump has no such control.
std::optional<DumpRect> DumpGeometry(const std::string& json, int feq, bool units = false);

class EditModeScenario : public SettingsFileFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program; `prompt_on_exit` goes into its settings.
  void StartProgram(int prompt_on_exit = 0);

  // Ctrl+Alt+D with the focus on `label` (clicked first; empty: the focus as it is).
  void EnterEditMode(const std::string& label = "");
  bool InEditMode() const { return robot_->FindWindowNamed("Box") != 0; }

  std::string HostDump() const { return rt::DumpWindowJson(host_ref_); }
  DumpRect Pixels(int feq) const;
  DumpRect Units(int feq) const;
  // The rectangle of control `feq` in host client pixels, from the model.
  rt::Rect Rect(int feq) const { return host_->PixelRect(feq); }

  // Left press, moves by `steps` (each added to the last point) and release, at host client
  // pixels.
  void Drag(int x, int y, const std::vector<std::pair<int, int>>& steps);
  void Click(int x, int y, rt::MouseButton button = rt::MouseButton::kLeft);
  void Key(int keycode);

  // The stored record of `label` in the edited variant.
  WinRecord Stored(const std::string& label) const { return Find(kProcedure, kMarker, label); }
  size_t RecordCount(std::string_view marker) const;

  std::shared_ptr<rt::HeadlessDisplay> display_;
  std::unique_ptr<rt::Robot> robot_;
  rt::ThreadId program_ = 0;
  std::atomic<rt::WindowRef> host_ref_{0};
  std::shared_ptr<rt::Window> host_;
  std::atomic<int> resumed_{0};
  std::atomic<int> edit_runs_{0};

 private:
  void Program();
  twiqdemo::ControlWindowVars vars_;
  TWIQSETTINGS program_settings_{};
};

}  // namespace twiq::testing

#endif  // TESTS_E2E_EDIT_MODE_SCENARIO_H_
