// Error codes of the keyed-file driver and the per-thread error state.
//
// Every public operation of the driver (File, View, NameTable binding excepted)
// returns an int error code, 0 on success, and records the same outcome in the
// calling thread's error state, which the accessors below read. The state is
// per OS thread (runtime threads are OS threads), so threads never see each
// other's errors; it is overwritten by the next operation of the same thread,
// successful ones included.
//
// "Not found" and "end of data" (35 and 33) are ordinary outcomes of positioning
// and reading, kept apart from failures: they leave the file, the handle and the
// record buffer as they were.

#ifndef RUNTIME_KEYFILE_ERRORS_H_
#define RUNTIME_KEYFILE_ERRORS_H_

#include <string>
#include <string_view>

namespace rt::keyfile {

enum : int {
  kOk = 0,                   // The operation succeeded.
  kFileNotFound = 2,         // No file of that name (or the name is blank).
  kAccessDenied = 5,         // The OS refused access, or a write on a handle opened read-only.
  kFileLocked = 32,          // Another handle holds the file in a conflicting mode, or
                             // another station's transaction outlasted the wait.
  kRecordNotAvailable = 33,  // End of data: no next/previous record, or no current record.
  kRecordNotFound = 35,      // No record with that key value or position.
  kBadPassword = 36,         // The file is protected and the password is wrong or blank,
                             // or a password was given for an unprotected file.
  kFileNotOpen = 37,         // The operation needs an open file (or an open view).
  kDuplicateKey = 40,        // The write would give a unique key a second record.
  kKeysMustBeRebuilt = 46,   // The file's keys were left unbuilt by appends; Build() them.
  kLayoutMismatch = 47,      // The file holds another record layout than the declaration.
  kFileAlreadyOpen = 52,     // The handle is already open (or must be closed first).
  kTransactionActive = 56,   // A transaction or stream is already active on the handle.
  kNoTransaction = 57,       // Commit without a transaction.
  kInvalidRequest = 75,      // Bad argument: mode, key number, option, declaration, buffer.
  kRecordChanged = 89,       // A watched record was changed by another station since read.
  kDriverError = 90,         // SQLite or the OS failed, or the file is not a keyed file of
                             // ours (damaged, truncated, foreign); DriverError() says why.
  kBadFilter = 800,          // A view's filter expression does not parse or names an
                             // unbound name; DriverError() gives the reason and column.
};

// The calling thread's last outcome. The returned references stay valid until
// the thread's next driver operation.
int ErrorCode();
const std::string& ErrorText();    // Fixed text of ErrorCode(), "" for 0.
int DriverErrorCode();             // SQLite's extended result code, an errno, or 0.
const std::string& DriverError();  // SQLite's or the driver's own message, or "".

// The fixed text of a code ("Record not found"); "Unknown error" for codes not
// listed above.
std::string_view DescribeError(int code);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_ERRORS_H_
