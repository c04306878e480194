// Saving edited controls, and the undo snapshots of edit mode.
//
// Edit mode writes a control's position and size to its settings record as soon as a gesture
// ends (release, right click, arrow key). For every control it selects, it first keeps a copy
// of the record as it was at that first selection, so that the end of edit mode can put the
// records back when the user does not want to keep the changes.
//
// Thread safety: runs on the edit-mode thread, on that thread's WIN buffer and handle.
#ifndef TWIQLIB_EDITMODE_SAVING_H_
#define TWIQLIB_EDITMODE_SAVING_H_

#include <string_view>
#include <vector>

#include "runtime/window/window.h"
#include "twiqlib/bindings/export.h"
#include "twiqlib/store/win_record.h"

namespace twiq {

// Writes the current geometry of control `feq` of `window` (0: the window) to its record of
// variant (`procedure`, `marker`), found by `label`: only x, y, width, height and their no- and
// type fields change (CaptureGeometry), and a failing write is ignored. A control with no
// record gets one with its complete state (CaptureControl, AddWithNewUid). The window's Pixels
// is 0 while the record is read and written and 1 afterwards. Leaves the record in WIN.
// REQUIRES: LocateSettingsFile has named the settings file.
TWIQ_INTERNAL_API void SaveControlState(rt::Window& window, int feq, std::string_view label,
                                        std::string_view marker, std::string_view procedure);

// The undo snapshots (SNP) of one edit-mode call: at most one per field equate, the record as
// stored at the control's first selection.
class Snapshots {
 public:
  // Keeps the stored record of control `feq` of the variant unless a snapshot of `feq` is
  // kept already; keeps nothing when the variant has no record with that field equate.
  // REQUIRES: WIN open on this thread.
  void Take(std::string_view procedure, std::string_view marker, int feq);

  // Puts every snapshot back, in the order they were taken: the stored record (found by UID;
  // a record gone meanwhile is passed over) is overwritten with the snapshot, which is applied
  // to its control first. A failing write ends the program (STOP with the error's text).
  // REQUIRES: WIN open on this thread; `window`'s Pixels 0.
  void RollBack(rt::Window& window) const;

  const std::vector<WinRecord>& records() const { return records_; }

 private:
  std::vector<WinRecord> records_;
};

}  // namespace twiq

#endif  // TWIQLIB_EDITMODE_SAVING_H_
