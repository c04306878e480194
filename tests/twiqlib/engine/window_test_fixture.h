// Fixture of the whole-behaviour tests: the demo's Control Window, opened from its definition
// as the demo opens it, customised against the test's own settings file.
#ifndef TESTS_TWIQLIB_ENGINE_WINDOW_TEST_FIXTURE_H_
#define TESTS_TWIQLIB_ENGINE_WINDOW_TEST_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <vector>

#include "engine_test_util.h"
#include "runtime/window/definition.h"
#include "twiqdemo/windows/demo_windows.h"
#include "twiqlib/engine/capture.h"
#include "twiqlib/engine/set_window_controls.h"

namespace twiq::testing {

inline constexpr std::string_view kProcedure = "Main";

class ControlWindowTest : public SettingsFileFixture {
 protected:
  void TearDown() override {
    for (const auto& w : windows_) rt::CloseWindow(w->ref());
    SettingsFileFixture::TearDown();
  }

  // Opens a window of `def` (by default the Control Window) with variables of its own.
  rt::Window& Open(const rt::WindowDefinition& def = twiqdemo::ControlWindowDefinition()) {
    vars_.push_back(std::make_unique<twiqdemo::ControlWindowVars>());
    rt::Status status;
    std::shared_ptr<rt::Window> w =
        rt::BuildWindow(def, 0, twiqdemo::Bindings(*vars_.back()), &status);
    EXPECT_TRUE(w) << status.ToString();
    windows_.push_back(w);
    return *w;
  }
  void Close(rt::Window& w) { rt::CloseWindow(w.ref()); }

  void Customise(rt::Window& w, std::string_view marker = "FLAT",
                 std::string_view procedure = kProcedure) {
    SetWindowControls(w, marker, procedure, settings_);
  }

  // A record of the FLAT variant for the control `label` of `w`, as capture would make it, so
  // that applying it changes only what the test changes.
  WinRecord Customised(rt::Window& w, std::string_view label, int order,
                       std::string_view marker = "FLAT") {
    const int feq = w.FieldByLabel(label);
    WinRecord r = RecordFor(kProcedure, marker, label, feq, order);
    CaptureControl(w, feq, r);
    return r;
  }

  int Feq(const rt::Window& w, std::string_view label) const { return w.FieldByLabel(label); }

 private:
  std::vector<std::unique_ptr<twiqdemo::ControlWindowVars>> vars_;
  std::vector<std::shared_ptr<rt::Window>> windows_;
};

}  // namespace twiq::testing

#endif  // TESTS_TWIQLIB_ENGINE_WINDOW_TEST_FIXTURE_H_
