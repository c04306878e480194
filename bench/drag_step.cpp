// One drag step of edit mode (a mouse movement with the left button down) on a window of 500
// controls, against a baseline measured in the same run: the same number of raw property
// writes to the same window.
//
// Two gestures: a resize from the bottom-right handle (the control's width and height, then
// the eight handles placed anew: 66 writes) and a move of the control's body (its position,
// then the handles placed anew: 66 writes). Each
// iteration is one step; the steps alternate in direction so the geometry stays put. Prints
// the ratio of the medians, in real and in CPU time, against the raw writes of each.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "runtime/window/definition.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window.h"
#include "runtime/window/window_registry.h"
#include "twiq/twiq.h"
#include "twiqlib/bindings/message_box.h"
#include "twiqlib/editmode/edit_session.h"
#include "twiqlib/editmode/grab_handles.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/windows/morph_window.h"

namespace {

namespace prop = rt::prop;

constexpr int kControls = 500;
constexpr int kSelected = 250;
// Property writes of one step: the selection's two, then eight for each of the eight handles.
constexpr int kWritesPerStep = 2 + 8 * 8;

// A settings file in a temporary folder for the undo snapshot the press takes.
class BenchFile {
 public:
  BenchFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "twiq_drag_XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    std::memset(&settings_, ' ', sizeof settings_);
    std::memcpy(settings_.TWIQPATH, folder_.data(), folder_.size());
    settings_.PROMPTONEXIT = 0;
    twiq::SetMessageBoxHandler([](const twiq::MessageBoxRequest& request) {
      std::fprintf(stderr, "unexpected message box: %s\n", request.text.c_str());
      return request.default_button;
    });
    twiq::LocateSettingsFile(settings_);
  }
  ~BenchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::string folder_;
  TWIQSETTINGS settings_;
};

BenchFile& File() {
  static BenchFile file;
  return file;
}

// A host of kControls controls in a grid, in pixels, with the edit-mode window over it.
struct Scene {
  Scene() {
    File();
    host = rt::OpenWindow(0, "BENCH");
    host->Set(0, prop::kPixels, 1);
    host->Set(0, prop::kXPos, 20);
    host->Set(0, prop::kYPos, 20);
    host->Set(0, prop::kWidth, 2000);
    host->Set(0, prop::kHeight, 1200);
    for (int feq = 1; feq <= kControls; ++feq) {
      rt::ControlSpec control;
      control.feq = feq;
      control.type = feq % 2 ? rt::ControlType::kEntry : rt::ControlType::kButton;
      control.label = "?CONTROL" + std::to_string(feq);
      host->AddControl(control);
      host->Set(feq, prop::kXPos, (feq % 25) * 80);
      host->Set(feq, prop::kYPos, (feq / 25) * 50);
      host->Set(feq, prop::kWidth, 70);
      host->Set(feq, prop::kHeight, 40);
    }
    session = std::make_unique<twiq::EditSession>(*host, "M", "P");
    session->edit = rt::BuildWindow(twiq::MorphWindowDefinition(), 0, {}, nullptr);
    session->edit->Set(0, prop::kPixels, 1);
    handles = std::make_unique<twiq::GrabHandles>(*session);
    handles->set_control_range(host->FirstField(), host->LastField());
    handles->InitHandles(kSelected);
    handles->DrawHandles();
  }
  ~Scene() {
    rt::CloseWindow(session->edit->ref());
    rt::CloseWindow(host->ref());
  }
  // Presses at (x, y) of the host's client area and returns the pointer there.
  twiq::PointerPos Press(int64_t x, int64_t y) {
    const twiq::PointerPos at{x + 20 - session->edit->Get(0, prop::kXPos).AsInt(),
                              y + 20 - session->edit->Get(0, prop::kYPos).AsInt()};
    twiq::ScopedSettingsFile file;
    handles->SelectAtMouse(at);
    return at;
  }
  twiq::PointerPos SelectedCorner(int dx, int dy) const {
    return {
        host->Get(kSelected, prop::kXPos).AsInt() + host->Get(kSelected, prop::kWidth).AsInt() + dx,
        host->Get(kSelected, prop::kYPos).AsInt() + host->Get(kSelected, prop::kHeight).AsInt() +
            dy};
  }

  std::shared_ptr<rt::Window> host;
  std::unique_ptr<twiq::EditSession> session;
  std::unique_ptr<twiq::GrabHandles> handles;
};

void Steps(benchmark::State& state, bool resize) {
  Scene scene;
  const twiq::PointerPos corner = scene.SelectedCorner(-2, -2);  // inside handle 5
  const twiq::PointerPos body = scene.SelectedCorner(-35, -20);  // the middle of the body
  twiq::PointerPos at = scene.Press(resize ? corner.x : body.x, resize ? corner.y : body.y);
  if (scene.handles->over_grab_handle() != (resize ? 5 : 0) ||
      scene.handles->control_no() != kSelected) {
    state.SkipWithError("the press did not start the gesture");
    return;
  }
  int64_t step = 1;
  for (auto _ : state) {
    at.x += step;
    at.y += step;
    step = -step;
    scene.handles->DragStep(at);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_DragStepResize(benchmark::State& state) { Steps(state, true); }
void BM_DragStepMove(benchmark::State& state) { Steps(state, false); }

// kWritesPerStep raw writes of the same kinds to controls of the same window.
void BM_RawWrites(benchmark::State& state) {
  Scene scene;
  const int codes[] = {prop::kFillColour,  prop::kBackgroundColour,
                       prop::kHandleFrame, prop::kWidth,
                       prop::kHeight,      prop::kXPos,
                       prop::kYPos,        prop::kHidden};
  int64_t flip = 0;
  for (auto _ : state) {
    flip ^= 1;
    scene.host->Set(kSelected, prop::kWidth, 70 + flip);
    scene.host->Set(kSelected, prop::kHeight, 40 + flip);
    for (int k = 0; k < twiq::kHandleCount; ++k) {
      for (int code : codes) scene.host->Set(twiq::kFirstHandleFeq + k, code, 6 + flip);
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["writes"] = kWritesPerStep;
}

#define DRAG_BENCH(name) \
  BENCHMARK(name)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true)
DRAG_BENCH(BM_DragStepResize);
DRAG_BENCH(BM_DragStepMove);
DRAG_BENCH(BM_RawWrites);

}  // namespace

int main(int argc, char** argv) {
  twiqbench::RatioReporter reporter;
  if (!twiqbench::RunInterleaved(argc, argv, reporter)) return 1;
  const twiqbench::RatioReporter::Times baseline = reporter.Time("BM_RawWrites");
  for (const char* name : {"BM_DragStepResize", "BM_DragStepMove"}) {
    const twiqbench::RatioReporter::Times ours = reporter.Time(name);
    if (ours.real > 0 && baseline.real > 0 && baseline.cpu > 0) {
      std::printf("%s / %d raw writes: %.2fx real time, %.2fx CPU time (goal: at most 3x)\n", name,
                  kWritesPerStep, ours.real / baseline.real, ours.cpu / baseline.cpu);
    }
  }
  benchmark::Shutdown();
  return 0;
}
