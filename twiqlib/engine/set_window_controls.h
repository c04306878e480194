// Customisation of a host window when it opens: the work behind the exported entry point
// TWIQ:SETWINDOWCONTROLS (twiq.h).
//
// The host calls it once per window, after opening it and before its event loop. Unless the
// marker is "ORIGINAL" (any case, trailing spaces ignored: the window stays as designed and
// the settings file is neither touched nor created), it
//   1. locates the settings file (LocateSettingsFile, with its conversions) and holds back
//      the window's painting;
//   2. opens WIN and WIN2 once for the whole call, sets the window's Pixels to 0 and refreshes
//      the originals from the window as designed (SnapshotOriginals);
//   3. applies the variant's records (procedure and marker compared without regard to case)
//      in ascending label order, so the window record ("WINDOW") comes after the control
//      records ("?..."). A record reaches the control that bears its label now: the stored
//      field equate when its label still matches exactly, else the first field equate from 1
//      up with that label, which is then stored in the record and written back (a failed
//      write is ignored). Records with a blank label, or whose label no control bears, are
//      skipped and kept unchanged;
//   4. puts the customised controls into ascending stored order, each directly after the
//      previous one, starting at the place of the first; controls without a record keep
//      their place. Only records that reach a control take part;
//   5. releases the file, gives the focus to the first control of that order (none when the
//      variant has no control record), redisplays the window and lets it paint, once.
// Failures opening, creating or converting the file are reported by the store's standard
// warnings, some of which end the program.
//
// Thread safety: runs on the thread that owns the window, with that thread's buffers and
// handles; other stations may write the file meanwhile.
#ifndef TWIQLIB_ENGINE_SET_WINDOW_CONTROLS_H_
#define TWIQLIB_ENGINE_SET_WINDOW_CONTROLS_H_

#include <string_view>

#include "runtime/window/window.h"
#include "twiq/twiq.h"
#include "twiqlib/bindings/export.h"

namespace twiq {

// Customises `window` with variant (`procedure`, `marker`). `settings` is the host's group;
// LocateSettingsFile may complete its TWIQPATH with a trailing "/".
TWIQ_INTERNAL_API void SetWindowControls(rt::Window& window, std::string_view marker,
                                         std::string_view procedure, TWIQSETTINGS& settings);

}  // namespace twiq

#endif  // TWIQLIB_ENGINE_SET_WINDOW_CONTROLS_H_
