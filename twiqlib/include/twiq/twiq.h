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

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(sizeof(TWIQSETTINGS) == 388, "TWIQSETTINGS is 388 bytes");
#else
_Static_assert(sizeof(TWIQSETTINGS) == 388, "TWIQSETTINGS is 388 bytes");
#endif

#endif /* TWIQ_TWIQ_H_ */
