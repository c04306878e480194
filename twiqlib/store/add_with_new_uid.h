// Adding a record under a new record identifier (UID).
//
// UIDs are taken without a lock: the new UID is the highest in the file plus 1 (1 in an empty
// file; gaps are never reused), and when two stations take the same one at the same moment
// the loser's add fails on the unique UID key and it reads the highest UID again.
#ifndef TWIQLIB_STORE_ADD_WITH_NEW_UID_H_
#define TWIQLIB_STORE_ADD_WITH_NEW_UID_H_

#include <cstdint>

#include "twiqlib/bindings/export.h"

namespace twiq {

// Adds the record in the calling thread's WIN buffer (every field but the UID filled) under
// a new UID. On success the buffer holds the record as added, with its UID.
//
// Failures are reported to the user, and the record is not added:
// - reading the highest UID fails (other than for an empty file): warning 35 naming
//   "WindowControls", and the close-window event (201h) is posted to the thread's window;
// - three adds in a row fail: warning 25 (Retry starts three more attempts; Cancel shows
//   "Record Can't be created!"). The buffer then holds the record with the last UID tried.
// A file whose highest UID is the largest one has no UID left: each attempt fails.
//
// REQUIRES: WIN open on the calling thread (OpenSettingsFile). Returns 0 always.
TWIQ_INTERNAL_API uint8_t AddWithNewUid();

}  // namespace twiq

#endif  // TWIQLIB_STORE_ADD_WITH_NEW_UID_H_
