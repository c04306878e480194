/* Twiq: the public C interface of twiqlib.
 *
 * A host program calls the library at two points in the life of each window:
 * after opening it (customisation of the chosen variant) and when the user asks
 * for edit mode. Both entry points are exported under names that contain a
 * colon, so C and C++ callers reach them through an asm label.
 *
 * This header compiles as C (C99 or later) and as C++.
 */
#ifndef TWIQ_TWIQ_H_
#define TWIQ_TWIQ_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Settings group owned by the host and passed by reference to both entry points.
 * Text fields are fixed width, padded on the right with spaces, not terminated. */
#pragma pack(push, 1)
typedef struct TWIQSETTINGS {
  char TWIQPATH[256];   /* folder of the settings file; blank: beside the executable */
  char PASSWORD[128];   /* password protecting the settings file; blank: none */
  int32_t PROMPTONEXIT; /* non-zero: ask before keeping the changes of edit mode */
} TWIQSETTINGS;
#pragma pack(pop)

/* TWIQ:SETWINDOWCONTROLS: customises a window the host has just opened, before its event loop
 * starts: shows the variant named by `marker` of the window of host procedure `procedure`.
 * The design-time state of the window and its controls is recorded first (as the variant
 * "TWIQ_ORIGINAL" of the procedure), then every stored customisation of the variant is applied,
 * the customised controls are put into their stored tab order and the first of them gets the
 * focus. The window paints once, already customised.
 *
 * window:    the window's reference in the window runtime (rt::WindowRef); the window must be
 *            open and owned by the calling thread. An unknown reference does nothing.
 * marker:    the variant, a NUL-terminated text; trailing spaces and letter case do not count.
 *            "ORIGINAL" leaves the window as designed and touches no file. At most 80
 *            characters are significant.
 * procedure: the host procedure's name, NUL-terminated; trailing spaces and letter case do not
 *            count; at most 80 characters are significant. NULL texts count as empty.
 * settings:  the host's settings, by reference; the call may append "/" to TWIQPATH. NULL
 *            stands for blank settings (the file beside the executable, no password).
 *
 * File errors are reported to the user in message boxes; the fatal ones end the program.
 *
 * (The quotes inside the asm label let the assembler take the colon in the symbol's name.) */
void twiq_set_window_controls(int64_t window, const char* marker, const char* procedure,
                              TWIQSETTINGS* settings) __asm__("\"TWIQ:SETWINDOWCONTROLS\"");

/* TWIQ:PROCESSWINDOW: edit mode, started by the host's hot key from its own event loop; returns
 * when the user leaves edit mode. While it runs, the mouse selects, moves and resizes the
 * controls of the window (and the window itself), the arrow keys nudge the selection by one
 * pixel, the right button opens the edit menu, and Esc, F8, F9 or F10 (or the window losing
 * the focus) end it. Every change is stored in the settings file at once; when PROMPTONEXIT is
 * not 0 the user may then take back the changes to every clicked control. Afterwards the event
 * 222h is posted to the calling thread.
 *
 * window:        the window's reference in the window runtime (rt::WindowRef); the window must
 *                be open and owned by the calling thread. An unknown reference does nothing.
 * current_field: the field equate of the control with the focus (the runtime's FIELD()),
 *                selected first; 0 selects the window.
 * marker:        the variant being edited, NUL-terminated (as for TWIQ:SETWINDOWCONTROLS).
 * procedure:     the host procedure's name, NUL-terminated. NULL texts count as empty.
 * settings:      the host's settings, by reference (NULL: blank settings). */
void twiq_process_window(int64_t window, int32_t current_field, const char* marker,
                         const char* procedure, TWIQSETTINGS* settings)
    __asm__("\"TWIQ:PROCESSWINDOW\"");

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(sizeof(TWIQSETTINGS) == 388, "TWIQSETTINGS is 388 bytes");
#else
_Static_assert(sizeof(TWIQSETTINGS) == 388, "TWIQSETTINGS is 388 bytes");
#endif

#endif /* TWIQ_TWIQ_H_ */
