#include "twiqlib/engine/set_window_controls.h"

#include <cstring>
#include <memory>
#include <string>

#include "runtime/keyfile/errors.h"
#include "runtime/value/text.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"
#include "twiqlib/engine/apply.h"
#include "twiqlib/engine/originals.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiq {
namespace {

namespace kf = rt::keyfile;

// The variant as the record fields hold it: cut to the fields' width, so that every record
// read back compares equal to what it was stored under.
struct Variant {
  decltype(WinRecord::procedure_name) procedure;
  decltype(WinRecord::unique_marker) marker;

  bool Holds(const WinRecord& r) const {
    return r.procedure_name.SameAs(procedure.View()) && r.unique_marker.SameAs(marker.View());
  }
  // Clears the WIN buffer and sets the variant into it, ready to position a key at its start.
  void StartKey(WinRecord& r) const {
    ClearRecord(r);
    r.procedure_name = procedure;
    r.unique_marker = marker;
  }
};

// The window's painting is held back from construction to destruction.
class UpdateLock {
 public:
  explicit UpdateLock(rt::Window& window) : window_(window) { window_.LockUpdates(); }
  ~UpdateLock() { window_.UnlockUpdates(); }
  UpdateLock(const UpdateLock&) = delete;
  UpdateLock& operator=(const UpdateLock&) = delete;

 private:
  rt::Window& window_;
};

// The variant's records are read in one forward pass per key; fetching them in batches spares
// a query per record. The thread's handle gets its setting back afterwards.
class ReadAhead {
 public:
  explicit ReadAhead(kf::File& file) : file_(file), saved_(file.GetProperty(kf::kPropReadAhead)) {
    file_.SetProperty(kf::kPropReadAhead, "64");
  }
  ~ReadAhead() { file_.SetProperty(kf::kPropReadAhead, saved_); }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

 private:
  kf::File& file_;
  std::string saved_;
};

bool SameLabel(std::string_view control_label, const WinRecord& r) {
  return rt::ClipCompareCase(control_label, r.control_label.View()) == 0;
}

// The field equate of the control that bears the record's label now (letter case counts):
// the stored one when it still does, else the first from 1 up that does; 0 when none does.
int LiveFeq(const rt::Window& window, const WinRecord& r) {
  if (r.feq != 0 && SameLabel(window.FieldName(r.feq), r)) return r.feq;
  for (int feq : window.Fields()) {
    if (feq > 0 && SameLabel(window.FieldName(feq), r)) return feq;
  }
  return 0;
}

// Applies one record of the variant (in the WIN buffer) to the control that bears its label.
void ApplyRecord(rt::Window& window, StoreThreadContext& store) {
  WinRecord& r = store.win;
  if (IsWindowRecord(r)) {
    ApplyControl(window, 0);
    return;
  }
  const int feq = LiveFeq(window, r);
  if (feq == 0) return;
  if (feq != r.feq) {
    r.feq = feq;
    store.win_file.Put();  // the field equate is only a cache: applied even if not stored
  }
  ApplyControl(window, feq);
}

void ApplyVariant(rt::Window& window, const Variant& variant, StoreThreadContext& store) {
  variant.StartKey(store.win);
  store.win_file.SetToValue(kKeyProcedureMarkerLabel);
  while (store.win_file.Next() == kf::kOk && variant.Holds(store.win)) {
    if (store.win.control_label.IsBlank()) continue;
    ApplyRecord(window, store);
  }
}

// Chains the customised controls in ascending order; returns the first of them (0: none).
int SetTabOrder(rt::Window& window, const Variant& variant, StoreThreadContext& store) {
  variant.StartKey(store.win);
  store.win_file.SetToValue(kOrderKey);
  int first = 0;
  int previous = 0;
  while (store.win_file.Next() == kf::kOk && variant.Holds(store.win)) {
    const WinRecord& r = store.win;
    if (r.feq == 0 || r.control_label.IsBlank()) continue;
    // A record whose control is gone must not move whichever control took its number.
    const int feq = LiveFeq(window, r);
    if (feq == 0) continue;
    if (first == 0) {
      first = feq;
    } else {
      window.Set(feq, rt::prop::kFollows, previous);
    }
    previous = feq;
    window.Display(feq);
  }
  return first;
}

}  // namespace

void SetWindowControls(rt::Window& window, std::string_view marker, std::string_view procedure,
                       TWIQSETTINGS& settings) {
  if (IsDesignMarker(marker)) return;
  const Variant variant{procedure, marker};
  LocateSettingsFile(settings);
  UpdateLock paint_once(window);
  StoreThreadContext& store = Store();
  SettingsFileHold hold;
  OpenSettingsFile(hold, SettingsFiles::kWinAndWin2);
  window.Set(0, rt::prop::kPixels, 0);
  SnapshotOriginals(window, variant.procedure.Clipped());
  int first = 0;
  {
    ReadAhead batches(store.win_file);
    ApplyVariant(window, variant, store);
    first = SetTabOrder(window, variant, store);
  }
  ReleaseSettingsFile(hold);
  // Focus and redisplay while painting is still held back, so the window paints once, with
  // its focus in place.
  if (first != 0) window.Select(first);
  window.Display();
}

}  // namespace twiq

// The exported entry point. Its name holds a colon, which the assembler takes only quoted, and
// a function body under a quoted name breaks the assembly of the compiler's split-off cold
// code; so the body is an ordinary function and the exported name an alias of it.
extern "C" void TwiqSetWindowControlsEntry(int64_t window, const char* marker,
                                           const char* procedure, TWIQSETTINGS* settings) {
  std::shared_ptr<rt::Window> target = rt::FindWindow(window);
  if (!target) return;
  TWIQSETTINGS blank;
  if (settings == nullptr) {
    std::memset(&blank, ' ', sizeof blank);
    blank.PROMPTONEXIT = 0;
    settings = &blank;
  }
  twiq::SetWindowControls(*target, marker ? marker : "", procedure ? procedure : "", *settings);
}

extern "C" TWIQ_INTERNAL_API __attribute__((alias("TwiqSetWindowControlsEntry"))) void
twiq_set_window_controls(int64_t window, const char* marker, const char* procedure,
                         TWIQSETTINGS* settings);
