// Capture: reading the state of one control of a live window (or of the window itself) into
// the property fields of a settings record.
//
// Capture is how the library learns a control's design-time values (originals.h), how a newly
// edited control gets its first record, and how the property editor is primed. The caller
// places the record to fill in the buffer first: a record read from the file (to refresh it)
// or a cleared record carrying the key fields (to create one). Capture writes only the
// property fields it names; the identity fields (uid, procedure_name, unique_marker,
// control_label, feq, order, description) and every field it does not name keep what the
// buffer held, and some fields are written only under a condition:
//   - layout only when the Layout property is 1 (never set back to 0);
//   - wallpaper and wallpaper_mode only when the window (or a toolbar) has a wallpaper;
//   - angle (the grid colour) only for lists and combos of types 14 and 15;
//   - width_type / height_type only when one of their rules applies (CaptureGeometry).
// For a control, lower, upper and step always receive the spin-box range and step, whatever
// the type: the gradient of a region, box, panel or toolbar is never captured.
//
// Side effect: the window's Pixels property is set to 0 first, so that positions and sizes
// are read in the window's dialog units, and left at 0. A caller working in pixels sets it
// back afterwards.
//
// Cannot fail: a property the control lacks reads as empty or 0 and is stored as such.
// Thread safety: runs on the window's owner thread; writes only the record given (by default
// the calling thread's WIN buffer).
#ifndef TWIQLIB_ENGINE_CAPTURE_H_
#define TWIQLIB_ENGINE_CAPTURE_H_

#include "runtime/window/window.h"
#include "twiqlib/bindings/export.h"
#include "twiqlib/store/win_record.h"

namespace twiq {

// Reads control `feq` of `window` (0: the window itself) into `record`.
TWIQ_INTERNAL_API void CaptureControl(rt::Window& window, int feq, WinRecord& record);
// The same into the calling thread's WIN buffer.
TWIQ_INTERNAL_API void CaptureControl(rt::Window& window, int feq);

// The position-and-size step of CaptureControl for a control: x, y, width, height,
// no_width, no_height and, by the first rule that applies, width_type (1 when the control
// uses its default width, else 2 when its width is not 0, else 0 when it is Full, else
// unchanged) and height_type by the same rules. Reads in the unit the window's Pixels
// property selects (CaptureControl sets it to 0 first); used on its own to refresh only the
// geometry of an existing record.
TWIQ_INTERNAL_API void CaptureGeometry(const rt::Window& window, int feq, WinRecord& record);
TWIQ_INTERNAL_API void CaptureGeometry(const rt::Window& window, int feq);

}  // namespace twiq

#endif  // TWIQLIB_ENGINE_CAPTURE_H_
