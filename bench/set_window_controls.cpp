// TWIQ:SETWINDOWCONTROLS on a window of 500 controls with 500 customised records, against a
// baseline measured in the same run: reading the same 1,000 records (each control's original
// and its customisation) by key through the driver and setting the same properties, tab
// order included, directly on the window.
//
// Each iteration customises a window freshly opened as designed, as a host does, so the
// originals are found unchanged and nothing is written. Prints the ratio of the two medians,
// in real and in CPU time.
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
#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/file.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window.h"
#include "runtime/window/window_registry.h"
#include "twiq/twiq.h"
#include "twiqlib/bindings/message_box.h"
#include "twiqlib/engine/capture.h"
#include "twiqlib/engine/set_window_controls.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace {

namespace kf = rt::keyfile;
namespace prop = rt::prop;
using rt::ControlType;

constexpr int kControls = 500;
constexpr char kProcedure[] = "Main";
constexpr char kMarker[] = "FLAT";

const ControlType kTypes[] = {ControlType::kEntry,  ControlType::kButton, ControlType::kPrompt,
                              ControlType::kString, ControlType::kList,   ControlType::kSpin,
                              ControlType::kCheck,  ControlType::kPanel,  ControlType::kText,
                              ControlType::kCombo};

std::string Label(int feq) { return "?CONTROL" + std::to_string(feq); }

// A window of kControls controls as a host designs it.
std::shared_ptr<rt::Window> DesignWindow() {
  std::shared_ptr<rt::Window> w = rt::OpenWindow(0, "BENCH");
  w->Set(0, prop::kFontFace, "MS Sans Serif");
  w->Set(0, prop::kFontSize, 8);
  for (int feq = 1; feq <= kControls; ++feq) {
    rt::ControlSpec control;
    control.feq = feq;
    control.type = kTypes[feq % std::size(kTypes)];
    control.label = Label(feq);
    w->AddControl(control);
    w->Set(feq, prop::kText, "Control " + std::to_string(feq));
    w->Set(feq, prop::kXPos, (feq % 20) * 30);
    w->Set(feq, prop::kYPos, (feq / 20) * 14);
    w->Set(feq, prop::kWidth, 28);
    w->Set(feq, prop::kHeight, 12);
    w->Set(feq, prop::kTip, "Tip of " + std::to_string(feq));
  }
  return w;
}

struct Fixture {
  Fixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "twiq_bench_XXXXXX").string();
    folder = mkdtemp(pattern.data());
    std::memset(&settings, ' ', sizeof settings);
    std::memcpy(settings.TWIQPATH, folder.data(), folder.size());
    settings.PROMPTONEXIT = 0;
    twiq::SetMessageBoxHandler([](const twiq::MessageBoxRequest& request) {
      std::fprintf(stderr, "unexpected message box: %s\n", request.text.c_str());
      std::abort();
      return 0;
    });
    // The originals, then the customisations: every control moved, retexted, recoloured,
    // reordered back to front.
    std::shared_ptr<rt::Window> w = DesignWindow();
    twiq::SetWindowControls(*w, kMarker, kProcedure, settings);
    twiq::StoreThreadContext& store = twiq::Store();
    twiq::SettingsFileHold hold;
    twiq::OpenSettingsFile(hold);
    store.win_file.Begin(10);
    for (int feq = 1; feq <= kControls; ++feq) {
      twiq::WinRecord& r = store.win;
      twiq::ClearRecord(r);
      r.uid = static_cast<uint32_t>(10000 + feq);
      r.procedure_name = kProcedure;
      r.unique_marker = kMarker;
      r.control_label = Label(feq);
      r.feq = feq;
      r.order = kControls - feq;
      twiq::CaptureControl(*w, feq, r);
      r.control_text = "Custom " + std::to_string(feq);
      r.x += 2;
      r.text_color = prop::Rgb(200, 0, 0);
      r.font_size = 9;
      if (store.win_file.Add() != kf::kOk) std::abort();
    }
    store.win_file.Commit();
    twiq::ReleaseSettingsFile(hold);
    rt::CloseWindow(w->ref());
  }
  ~Fixture() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::string folder;
  TWIQSETTINGS settings;
};

Fixture& TheFixture() {
  static Fixture fixture;
  return fixture;
}

// What application sets for one record, without the engine: the same properties, directly.
void SetProperties(rt::Window& w, int feq, const twiq::WinRecord& r) {
  auto text = [&](int code, auto& field) { w.Set(feq, code, field.Clipped()); };
  auto number = [&](int code, int32_t value) { w.Set(feq, code, value); };
  w.Set(feq, prop::kText, "");
  text(prop::kText, r.control_text);
  number(prop::kFlat, r.flat);
  number(prop::kLeftJustify, r.justification == 1);
  number(prop::kRightJustify, r.justification == 2);
  number(prop::kCentreJustify, r.justification == 3);
  number(prop::kHidden, r.hide);
  number(prop::kDisabled, r.disable);
  number(prop::kSkip, r.skip);
  text(prop::kScroll, r.scroll);
  number(prop::kTransparent, r.transparent);
  number(prop::kRequired, r.required);
  number(prop::kReadOnly, r.read_only);
  if (r.type == 8) number(prop::kPasswordEntry, r.password);
  number(prop::kFontColour, r.text_color);
  number(prop::kBackgroundColour, r.background);
  number(prop::kSelectedTextColour, r.selected_text);
  number(prop::kSelectedFillColour, r.selected_fill);
  number(prop::kXPos, r.x);
  number(prop::kYPos, r.y);
  number(prop::kWidth, r.width);
  number(prop::kHeight, r.height);
  text(prop::kTip, r.tip);
  text(prop::kHelpId, r.help);
  text(prop::kStatusMessage, r.message);
  if (r.type == 16) {
    text(prop::kRangeLow, r.lower);
    text(prop::kRangeHigh, r.upper);
    text(prop::kStep, r.step);
  }
  if (r.type == 14 || r.type == 15) {
    number(prop::kDropCount, r.drop);
    number(prop::kGridColour, r.angle);
  }
  text(prop::kFontFace, r.typeface);
  number(prop::kFontSize, r.font_size);
  number(prop::kFontCharset, r.charset);
  number(prop::kFontStyle, r.font_style);
  if (r.type == 39) {
    number(prop::kBevelOuter, r.outer);
    number(prop::kBevelInner, r.inner);
    number(prop::kBevelStyle, r.style);
  }
  text(prop::kHScroll, r.horizontal);
  number(prop::kVScroll, r.vertical);
}

void BM_SetWindowControls(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    state.PauseTiming();
    std::shared_ptr<rt::Window> w = DesignWindow();
    state.ResumeTiming();
    twiq::SetWindowControls(*w, kMarker, kProcedure, f.settings);
    state.PauseTiming();
    if (w->FieldName(w->focus()) != Label(kControls)) state.SkipWithError("not customised");
    rt::CloseWindow(w->ref());
    state.ResumeTiming();
  }
}

void BM_Baseline(benchmark::State& state) {
  Fixture& f = TheFixture();
  (void)f;
  // Two handles, as the engine holds WIN and WIN2.
  kf::File originals(twiq::Win2Declaration());
  kf::File customised(twiq::WinDeclaration());
  twiq::WinRecord original, custom;
  originals.Bind(twiq::RecordBytes(original));
  customised.Bind(twiq::RecordBytes(custom));
  for (auto _ : state) {
    state.PauseTiming();
    std::shared_ptr<rt::Window> w = DesignWindow();
    state.ResumeTiming();
    if (originals.Open(kf::kModeShared) != kf::kOk || customised.Open(kf::kModeShared) != kf::kOk) {
      state.SkipWithError("open failed");
    }
    w->LockUpdates();
    w->Set(0, prop::kPixels, 0);
    std::map<int, int> by_order;
    for (int feq = 1; feq <= kControls; ++feq) {
      const std::string label = w->FieldName(feq);
      twiq::ClearRecord(original);
      original.procedure_name = kProcedure;
      original.unique_marker = twiq::kOriginalMarker;
      original.control_label = label;
      if (originals.Get(twiq::kKeyProcedureMarkerLabel) != kf::kOk) {
        state.SkipWithError("no original");
      }
      twiq::ClearRecord(custom);
      custom.procedure_name = kProcedure;
      custom.unique_marker = kMarker;
      custom.control_label = label;
      if (customised.Get(twiq::kKeyProcedureMarkerLabel) != kf::kOk) {
        state.SkipWithError("no record");
      }
      SetProperties(*w, feq, custom);
      by_order.emplace(custom.order, feq);
    }
    int previous = 0;
    for (const auto& [order, feq] : by_order) {
      if (previous != 0) w->Set(feq, prop::kFollows, previous);
      previous = feq;
    }
    w->Select(by_order.begin()->second);
    w->UnlockUpdates();
    originals.Close();
    customised.Close();
    state.PauseTiming();
    rt::CloseWindow(w->ref());
    state.ResumeTiming();
  }
}

BENCHMARK(BM_SetWindowControls)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Baseline)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  twiqbench::RatioReporter reporter;
  if (!twiqbench::RunInterleaved(argc, argv, reporter)) return 1;
  const twiqbench::RatioReporter::Times ours = reporter.Time("BM_SetWindowControls");
  const twiqbench::RatioReporter::Times baseline = reporter.Time("BM_Baseline");
  if (ours.real > 0 && baseline.real > 0 && baseline.cpu > 0) {
    std::printf(
        "TWIQ:SETWINDOWCONTROLS / baseline: %.2fx real time, %.2fx CPU time (goal: at most "
        "1.5x)\n",
        ours.real / baseline.real, ours.cpu / baseline.cpu);
  }
  benchmark::Shutdown();
  return 0;
}
