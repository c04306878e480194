// The kept file error and the error description of the standard warnings.
//
// A failed record write keeps the details of its error (SaveFileError in record_update.h)
// just before it reports the failure, because reporting may run other file operations that
// overwrite the thread's error state. The next ShowWarning, on whichever thread, describes
// the kept error and clears it; with nothing kept it describes the calling thread's current
// driver error.
//
// Thread safety: the kept error is one for the process, guarded by a mutex; every function
// here may be called from any thread.
#ifndef TWIQLIB_STORE_FILE_ERROR_H_
#define TWIQLIB_STORE_FILE_ERROR_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "twiqlib/bindings/export.h"

namespace twiq {

// Texts of a kept error are cut to this many bytes; a description to kDescriptionLimit.
inline constexpr size_t kFileErrorTextLimit = 255;
inline constexpr size_t kDescriptionLimit = 150;

struct FileError {
  int32_t code = 0;            // the driver's error code; 0: no error
  std::string text;            // the fixed text of that code
  std::string driver_code;     // the driver's own code (SQLite's result code, errno), decimal
  std::string driver_message;  // the driver's own message
};

// The calling thread's current driver error, texts cut to kFileErrorTextLimit.
TWIQ_INTERNAL_API FileError CurrentFileError();

// Replaces the kept error with `error` (texts cut to kFileErrorTextLimit).
TWIQ_INTERNAL_API void KeepFileError(const FileError& error);
// The kept error, which is cleared (code 0, texts empty).
TWIQ_INTERNAL_API FileError TakeKeptFileError();
// The kept error, left in place.
TWIQ_INTERNAL_API FileError PeekKeptFileError();

// How a warning describes an error: for the driver's own failures (codes 90 and 100) its
// message and code, "disk I/O error (10)"; otherwise the text and the code, "Record not
// found (35)". Trailing spaces of the texts are dropped; the result is cut to
// kDescriptionLimit bytes.
TWIQ_INTERNAL_API std::string DescribeFileError(const FileError& error);

}  // namespace twiq

#endif  // TWIQLIB_STORE_FILE_ERROR_H_
