// Locating, opening and releasing the settings file.
//
// Both entry points call LocateSettingsFile before any other file work; it sets the
// process-wide file name and password (win_file.h) for this and later calls, from any
// thread. Afterwards every operation that touches the file brackets its work with
// OpenSettingsFile and ReleaseSettingsFile on a SettingsFileHold of its own:
//
//   SettingsFileHold hold;
//   OpenSettingsFile(hold);            // WIN open on this thread (opened if it was not)
//   ... Store().win_file ...
//   ReleaseSettingsFile(hold);         // closed when no other hold of the thread has it
//
// The handles and their open counters are per thread (thread_context.h): nested pairs on one
// thread open the file once physically, and two threads each open it for themselves. Working
// opens are fully shared (mode 42h), so several processes and stations share the file.
//
// Failures are reported to the user through the standard warnings (warnings.h); the fatal
// ones end the program there, so the open and release operations return success only.
#ifndef TWIQLIB_STORE_SETTINGS_FILE_H_
#define TWIQLIB_STORE_SETTINGS_FILE_H_

#include <cstdint>

#include "runtime/keyfile/file.h"
#include "twiq/twiq.h"
#include "twiqlib/bindings/export.h"

namespace twiq {

// Which handles an OpenSettingsFile opens: WIN, or WIN and WIN2.
enum class SettingsFiles { kWin, kWinAndWin2 };

// What one caller's OpenSettingsFile calls did, so that ReleaseSettingsFile undoes exactly
// that. Starts empty; belongs to one caller on one thread.
struct SettingsFileHold {
  int win = 0;   // opens of WIN this hold owes a release
  int win2 = 0;  // opens of WIN2 this hold owes a release
};

// Computes the file name from the executable's path and settings.TWIQPATH (appending "/" to
// TWIQPATH when its last non-blank character is not one and there is room), sets the
// process-wide name and, when settings.PASSWORD is not blank, the password, and probes an
// existing file (mode 22h, closed again at once). An unprotected file while a password is
// given, or a file of an older layout, is reported as needing conversion (settings_upgrade.h);
// other probe failures are left to the next open, which reports them. Leaves the file closed.
TWIQ_INTERNAL_API void LocateSettingsFile(TWIQSETTINGS& settings);

// Makes sure the calling thread has WIN (and, for kWinAndWin2, WIN2) open, opening through
// OpenWithRecovery when its counter is 0, and counts the open in `hold` and in the thread's
// counters. Returns 0 (failures end the program inside OpenWithRecovery).
TWIQ_INTERNAL_API uint8_t OpenSettingsFile(SettingsFileHold& hold,
                                           SettingsFiles files = SettingsFiles::kWin);

// Undoes the opens counted in `hold`: each counter goes down by what the hold owes, and a
// handle whose counter reaches 0 is closed. Releasing an empty hold does nothing.
TWIQ_INTERNAL_API void ReleaseSettingsFile(SettingsFileHold& hold);

// Opens `file`, repairing what can be repaired: in mode 42h when `shared`, else `mode`; a
// locked file (32) is opened once more after sending "Recover=10"; a missing file (2) is
// created empty when `create_if_missing` and not `no_create` (warnings 4 and 5 when that
// fails); keys that must be rebuilt (46) are rebuilt when the user agrees to warning 2
// (warning 3 when the rebuild fails); a file of another layout (47) gives warning 1. An error
// still pending gives warning 30, and then the program ends with "Disk Error". Warnings 1,
// 3, 4, 5 and 2 answered No end the program. Returns 0: it returns only with the file open.
TWIQ_INTERNAL_API uint8_t OpenWithRecovery(rt::keyfile::File& file, bool create_if_missing,
                                           bool no_create, int mode, bool shared);

// Scoped form of an OpenSettingsFile / ReleaseSettingsFile pair.
class ScopedSettingsFile {
 public:
  explicit ScopedSettingsFile(SettingsFiles files = SettingsFiles::kWin) {
    OpenSettingsFile(hold_, files);
  }
  ~ScopedSettingsFile() { ReleaseSettingsFile(hold_); }
  ScopedSettingsFile(const ScopedSettingsFile&) = delete;
  ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

 private:
  SettingsFileHold hold_;
};

}  // namespace twiq

#endif  // TWIQLIB_STORE_SETTINGS_FILE_H_
