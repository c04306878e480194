#include "twiqlib/editmode/saving.h"

#include "runtime/keyfile/errors.h"
#include "runtime/program/halt.h"
#include "runtime/value/text.h"
#include "runtime/window/property_codes.h"
#include "twiqlib/engine/apply.h"
#include "twiqlib/engine/capture.h"
#include "twiqlib/store/add_with_new_uid.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"

namespace twiq {

namespace kf = rt::keyfile;

namespace {

void SetLabelKey(WinRecord& win, std::string_view label, std::string_view marker,
                 std::string_view procedure) {
  ClearRecord(win);
  win.unique_marker = marker;
  win.procedure_name = procedure;
  win.control_label = rt::Clip(label);
}

}  // namespace

void SaveControlState(rt::Window& window, int feq, std::string_view label, std::string_view marker,
                      std::string_view procedure) {
  window.Set(0, rt::prop::kPixels, 0);
  {
    ScopedSettingsFile file;
    StoreThreadContext& store = Store();
    SetLabelKey(store.win, label, marker, procedure);
    if (store.win_file.Get(kKeyProcedureMarkerLabel) == kf::kOk) {
      CaptureGeometry(window, feq);
      store.win_file.Put();  // a failed write leaves the old geometry; not reported
    } else {
      SetLabelKey(store.win, label, marker, procedure);
      store.win.description = DescriptionForLabel(rt::Clip(label));
      store.win.feq = feq;
      store.win.order = feq;
      CaptureControl(window, feq);
      AddWithNewUid();
    }
  }
  window.Set(0, rt::prop::kPixels, 1);
}

void Snapshots::Take(std::string_view procedure, std::string_view marker, int feq) {
  for (const WinRecord& r : records_) {
    if (r.feq == feq) return;
  }
  StoreThreadContext& store = Store();
  ClearRecord(store.win);
  store.win.procedure_name = procedure;
  store.win.unique_marker = marker;
  store.win.feq = feq;
  if (store.win_file.Get(kKeyProcedureMarkerFeq) != kf::kOk) return;
  records_.push_back(store.win);
}

void Snapshots::RollBack(rt::Window& window) const {
  StoreThreadContext& store = Store();
  for (const WinRecord& snapshot : records_) {
    ClearRecord(store.win);
    store.win.uid = snapshot.uid;
    if (store.win_file.Get(kKeyUid) != kf::kOk) continue;
    store.win = snapshot;
    ApplyControl(window, snapshot.feq);
    if (store.win_file.Put() != kf::kOk) rt::Stop(kf::ErrorText());
  }
}

}  // namespace twiq
