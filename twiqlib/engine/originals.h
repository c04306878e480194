// Original values: the design-time state of a procedure's window and of each of its
// controls, kept in the settings file under the reserved marker TWIQ_ORIGINAL (one record per
// label, "WINDOW" for the window), and the reset of a customised control to them.
//
// Originals are per procedure, shared by every marker of it. They are taken and refreshed
// every time the window opens with a marker other than "ORIGINAL", before any customisation
// is applied, so they describe the window as the host program builds it now. A control that
// disappears from the window keeps its original record.
//
// Thread safety: both run on the host thread, on that thread's WIN and WIN2 buffers and
// handles.
#ifndef TWIQLIB_ENGINE_ORIGINALS_H_
#define TWIQLIB_ENGINE_ORIGINALS_H_

#include <cstdint>
#include <string_view>

#include "runtime/window/window.h"
#include "twiqlib/bindings/export.h"

namespace twiq {

// Creates or refreshes the original record of the window (field equate 0) and of every
// control with a label at field equates 1 to LastField(), each found by its label (never by
// its stored field equate). A found record is captured again and written back only when its
// 3069 bytes changed; its field equate, order and description keep their stored values. A
// missing one is created (description from the label, field equate and order the control's
// field equate now) through AddWithNewUid, which reports its own failures; the snapshot then
// goes on with the next control. A failed write of a refreshed record is ignored. Field
// equates with no control or a control without a label have nothing to record and are
// passed over.
// REQUIRES: WIN and WIN2 open on this thread (OpenSettingsFile, both), the window's Pixels
// property 0. Leaves the WIN buffer with the last record handled. Returns 0 always.
TWIQ_INTERNAL_API uint8_t SnapshotOriginals(rt::Window& window, std::string_view procedure);

// Overwrites the customised record of control `label` of variant (`procedure`, `marker`)
// with the control's original values, keeping the customised record's UID, marker, field
// equate and order (so the control keeps its place in the customised tab order); the blob is
// not copied. Opens and releases the settings file (WIN and WIN2) itself. A failed write ends
// the program (STOP) with the error's description.
// Returns true when it reset a record: the WIN buffer then holds it, ready for ApplyControl
// on the record's field equate. Returns false, writing nothing, when the variant has no
// record for the label or the procedure has no original for it; what the buffer then holds is
// left over from the lookups, so callers must apply nothing.
// REQUIRES: LocateSettingsFile has named the settings file.
TWIQ_INTERNAL_API bool ResetToOriginal(std::string_view marker, std::string_view label,
                                       std::string_view procedure);

}  // namespace twiq

#endif  // TWIQLIB_ENGINE_ORIGINALS_H_
