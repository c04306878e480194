// Conversions of a settings file that LocateSettingsFile finds in an older form: an
// unprotected file while the host now supplies a password, and a file of an older record
// layout.
//
// Until the converters exist, both tell the user that the file needs converting (a box
// captioned "Twiq" naming the file) and leave the file unchanged; the open that follows
// reports what it cannot open.
//
// REQUIRES: no handle of this process has the settings file open (LocateSettingsFile runs
// them while it probes, before any other file work).
#ifndef TWIQLIB_STORE_SETTINGS_UPGRADE_H_
#define TWIQLIB_STORE_SETTINGS_UPGRADE_H_

#include <string_view>

#include "twiqlib/bindings/export.h"

namespace twiq {

// Protects the unprotected settings file (the process-wide name) with `password`. Returns
// true when the file now opens with it. Afterwards the password variable holds `password`.
TWIQ_INTERNAL_API bool ProtectSettingsFile(std::string_view password);

// Converts the settings file from the oldest record layout to the current one. Returns true
// when the file is now in the current layout.
TWIQ_INTERNAL_API bool UpgradeLayout01();

}  // namespace twiq

#endif  // TWIQLIB_STORE_SETTINGS_UPGRADE_H_
