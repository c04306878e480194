// Writing and deleting one settings record under a transaction, with concurrency checks.
//
// Each call frames its single change in a transaction of at most 2 seconds' wait and ends it
// before it returns: committed on success, rolled back on any failure. Every failure is
// reported through the standard warnings before the call returns.
//
// REQUIRES for both: WIN open on the calling thread, its current record being the one to act
// on (read into the WIN buffer).
#ifndef TWIQLIB_STORE_RECORD_UPDATE_H_
#define TWIQLIB_STORE_RECORD_UPDATE_H_

#include <cstdint>

#include "twiqlib/bindings/export.h"

namespace twiq {

// Results of UpdateWinRecord and DeleteWinRecord.
inline constexpr uint8_t kRecordWritten = 0;
inline constexpr uint8_t kRecordFailed = 1;   // already reported
inline constexpr uint8_t kRecordChanged = 2;  // already reported; see UpdateWinRecord

// Writes the WIN buffer to the current record.
// - The transaction cannot begin within 2 seconds: warning 34 ("Update"); result 1, nothing
//   written, buffer unchanged.
// - Another station changed the record since it was read under the change check (89):
//   warning 38 when `flag` is set, else warning 15 "Record Changed by Another Station"; the
//   change check is armed and the record is read again, so the buffer holds the other
//   station's version and the next update of it is checked against that version; result 2.
// - The write or the commit fails otherwise: warning 15 "WindowControls"; result 1.
TWIQ_INTERNAL_API uint8_t UpdateWinRecord(uint8_t flag);

// Deletes the current record, read again by its position in the UID key just before (the
// buffer then holds the stored version).
// - The transaction cannot begin: warning 34 ("Delete"); result 1.
// - The record cannot be read again, the delete or the commit fails: warning 17; result 1,
//   the record stays in the file.
TWIQ_INTERNAL_API uint8_t DeleteWinRecord();

// Keeps the calling thread's current driver error for the next warning (file_error.h) and
// rolls back the transaction on the thread's WIN handle (nothing when none is active).
TWIQ_INTERNAL_API void SaveFileError();

}  // namespace twiq

#endif  // TWIQLIB_STORE_RECORD_UPDATE_H_
