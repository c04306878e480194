#include "twiqlib/engine/originals.h"

#include <string>

#include "runtime/keyfile/errors.h"
#include "runtime/program/halt.h"
#include "twiqlib/engine/capture.h"
#include "twiqlib/store/add_with_new_uid.h"
#include "twiqlib/store/file_error.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiq {

namespace kf = rt::keyfile;

uint8_t SnapshotOriginals(rt::Window& window, std::string_view procedure) {
  StoreThreadContext& store = Store();
  WinRecord& win = store.win;
  const int last = window.LastField();
  for (int feq = 0; feq <= last; ++feq) {
    std::string label;
    if (feq == 0) {
      label = kWindowLabel;
    } else {
      label = window.FieldName(feq);
      if (rt::IsBlank(label)) continue;
    }
    ClearRecord(win);
    win.unique_marker = kOriginalMarker;
    win.procedure_name = procedure;
    win.control_label = label;
    if (store.win_file.Get(kKeyProcedureMarkerLabel) == kf::kOk) {
      store.win2 = win;
      CaptureControl(window, feq, win);
      if (!SameRecord(win, store.win2)) store.win_file.Put();
    } else {
      win.description = DescriptionForLabel(label);
      win.feq = feq;
      win.order = feq;
      CaptureControl(window, feq, win);
      if (AddWithNewUid() != 0) break;
    }
  }
  return 0;
}

bool ResetToOriginal(std::string_view marker, std::string_view label, std::string_view procedure) {
  StoreThreadContext& store = Store();
  WinRecord& win = store.win;
  WinRecord& win2 = store.win2;
  SettingsFileHold hold;
  OpenSettingsFile(hold, SettingsFiles::kWinAndWin2);
  bool reset = false;
  win.procedure_name = procedure;
  win.unique_marker = marker;
  win.control_label = label;
  if (store.win_file.Get(kKeyProcedureMarkerLabel) == kf::kOk) {
    win2.procedure_name = procedure;
    win2.unique_marker = kOriginalMarker;
    win2.control_label = label;
    if (store.win2_file.Get(kKeyProcedureMarkerLabel) == kf::kOk) {
      const uint32_t uid = win.uid;
      const auto kept_marker = win.unique_marker;
      const int32_t feq = win.feq;
      const int32_t order = win.order;
      win = win2;
      win.uid = uid;
      win.unique_marker = kept_marker;
      win.feq = feq;
      win.order = order;
      if (store.win_file.Put() != kf::kOk) rt::Stop(DescribeFileError(CurrentFileError()));
      reset = true;
    }
  }
  ReleaseSettingsFile(hold);
  return reset;
}

}  // namespace twiq
