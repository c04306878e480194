#include "tests/e2e/edit_mode_scenario.h"

#include <cstdlib>

namespace twiq::testing {

namespace {

int64_t NumberAfter(const std::string& json, size_t from, const std::string& key) {
  const size_t at = json.find("\"" + key + "\": ", from);
  if (at == std::string::npos) return 0;
  return std::strtoll(json.c_str() + at + key.size() + 4, nullptr, 10);
}

}  // namespace

std::optional<DumpRect> DumpGeometry(const std::string& json, int feq, bool units) {
  const size_t control = json.find("{\"feq\": " + std::to_string(feq) + ",");
  if (control == std::string::npos) return std::nullopt;
  const size_t geometry = json.find(units ? "\"units\": {" : "\"pixels\": {", control);
  if (geometry == std::string::npos) return std::nullopt;
  return DumpRect{NumberAfter(json, geometry, "x"), NumberAfter(json, geometry, "y"),
                  NumberAfter(json, geometry, "width"), NumberAfter(json, geometry, "height")};
}

void EditModeScenario::SetUp() {
  SettingsFileFixture::SetUp();
  rt::HeadlessDisplay::Options o;
  o.timeout = std::chrono::seconds(20);
  display_ = std::make_shared<rt::HeadlessDisplay>(o);
  rt::SetDisplay(display_);
  robot_ = std::make_unique<rt::Robot>(*display_);
}

void EditModeScenario::TearDown() {
  if (program_ != 0) {
    EXPECT_TRUE(robot_->Quit().ok());
    EXPECT_FALSE(rt::IsThreadRunning(program_));
  }
  host_.reset();
  rt::SetDisplay(nullptr);
  SettingsFileFixture::TearDown();
}

void EditModeScenario::StartProgram(int prompt_on_exit) {
  program_settings_ = settings_;
  program_settings_.PROMPTONEXIT = prompt_on_exit;
  program_ = rt::Start([this] { Program(); });
  ASSERT_TRUE(robot_->WaitIdle().ok());
  ASSERT_NE(host_ref_.load(), 0);
  host_ = rt::FindWindow(host_ref_);
  ASSERT_TRUE(host_);
}

void EditModeScenario::Program() {
  rt::Status status;
  std::shared_ptr<rt::Window> w = rt::BuildWindow(twiqdemo::ControlWindowDefinition(),
                                                  rt::CurrentThread(), Bindings(vars_), &status);
  ASSERT_TRUE(w) << status.message();
  w->Set(0, rt::prop::kAlertKey, rt::key::kCtrlAltD, 1);
  ASSERT_TRUE(rt::Open(w->ref()).ok());
  const rt::WindowRef ref = w->ref();
  twiq_set_window_controls(ref, kMarker, kProcedure, &program_settings_);
  host_ref_ = ref;
  while (rt::Accept(ref)) {
    if (rt::Event() == rt::event::kAlertKey && rt::KeyCode() == rt::key::kCtrlAltD) {
      twiq_process_window(ref, rt::Field(), kMarker, kProcedure, &program_settings_);
      ++edit_runs_;
    } else if (rt::Event() == rt::event::kResumed) {
      ++resumed_;
    }
  }
}

void EditModeScenario::EnterEditMode(const std::string& label) {
  if (!label.empty()) {
    ASSERT_TRUE(robot_->Click(rt::MouseButton::kLeft, label).ok());
  }
  ASSERT_TRUE(robot_->Key(rt::key::kCtrlAltD).ok());
  ASSERT_TRUE(InEditMode());
}

DumpRect EditModeScenario::Pixels(int feq) const {
  std::optional<DumpRect> r = DumpGeometry(HostDump(), feq);
  EXPECT_TRUE(r) << "no control " << feq << " in the dump";
  return r.value_or(DumpRect{});
}

DumpRect EditModeScenario::Units(int feq) const {
  std::optional<DumpRect> r = DumpGeometry(HostDump(), feq, true);
  EXPECT_TRUE(r) << "no control " << feq << " in the dump";
  return r.value_or(DumpRect{});
}

void EditModeScenario::Drag(int x, int y, const std::vector<std::pair<int, int>>& steps) {
  ASSERT_TRUE(robot_->Move(host_ref_, x, y).ok());
  ASSERT_TRUE(robot_->Press(rt::MouseButton::kLeft, host_ref_, x, y).ok());
  for (auto [dx, dy] : steps) {
    x += dx;
    y += dy;
    ASSERT_TRUE(robot_->Move(host_ref_, x, y).ok());
  }
  ASSERT_TRUE(robot_->Release(rt::MouseButton::kLeft, host_ref_, x, y).ok());
}

void EditModeScenario::Click(int x, int y, rt::MouseButton button) {
  ASSERT_TRUE(robot_->Move(host_ref_, x, y).ok());
  ASSERT_TRUE(robot_->Click(button, host_ref_, x, y).ok());
}

void EditModeScenario::Key(int keycode) { ASSERT_TRUE(robot_->Key(keycode).ok()); }

size_t EditModeScenario::RecordCount(std::string_view marker) const {
  size_t n = 0;
  for (const WinRecord& r : Records()) n += r.unique_marker.SameAs(marker) ? 1 : 0;
  return n;
}

}  // namespace twiq::testing
