// Application: setting the properties of one control of a live window (or of the window
// itself) from the settings record in the calling thread's WIN buffer; the reverse of
// capture (capture.h).
//
// The record's type field (not the live control's type) selects the type-dependent steps:
//   - justification: buttons, checks and radios know left and right only (any other value
//     clears both); strings, entries, lists, combos and spin boxes set the chosen flag and
//     its indent without clearing the others (0 clears every flag and indent); prompts and
//     texts set left, right or centre exclusively (anything else clears all three);
//   - flags that are only ever set: a word case of 1 sets Uppercase and 2 Capitalise, an
//     entry mode of 1 sets InsertMode and 2 OverwriteMode, a layout of 1 sets Layout, a
//     width or height type of 0 sets Full, 1 the default size; none of them clears the
//     opposite flag or an explicit size;
//   - masked input only for entries; range and step only for spin boxes; drop count and
//     grid colour only for lists and combos of types 14 and 15; bevels only for regions,
//     options, groups and panels; the gradient (lower, upper, step as start colour, end
//     colour and type) only for regions, boxes, panels and toolbars, and only when the step
//     is not blank;
//   - the window record sets the wallpaper (when not blank), the icon (also when blank), the
//     font and the gradient (when its step is not blank); the window's title, position,
//     size, colours and layout are not applied.
// A blank control text leaves the control's text alone. The cursor field is not applied.
// Afterwards the window is marked for repainting (it repaints once, when its updates are
// unlocked, if they are locked) and a control is redisplayed.
//
// Applying the same record twice leaves the window as applying it once.
//
// Thread safety: runs on the window's owner thread; reads the calling thread's WIN buffer,
// which it leaves unchanged.
#ifndef TWIQLIB_ENGINE_APPLY_H_
#define TWIQLIB_ENGINE_APPLY_H_

#include "runtime/window/window.h"
#include "twiqlib/bindings/export.h"

namespace twiq {

// Applies the WIN buffer to control `feq` of `window` (0: the window itself), with the
// settings file held open for the call through the thread's share count (no physical open
// when the caller holds it already).
// REQUIRES: the window's Pixels property is 0 (positions and sizes are applied in dialog
// units); the buffer holds a record of this window whose field equate is `feq`;
// LocateSettingsFile has named the settings file.
TWIQ_INTERNAL_API void ApplyControl(rt::Window& window, int feq);

}  // namespace twiq

#endif  // TWIQLIB_ENGINE_APPLY_H_
