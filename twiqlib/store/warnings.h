// The standard warnings: every file and record error the library reports to the user goes
// through ShowWarning, which shows one of a fixed table of numbered message boxes.
//
// A box's text is composed from fixed pieces, the caller's texts A and B (a file name, a key
// name, an operation word; trailing spaces never count) and the description of the last file
// error (file_error.h): the kept error when one is kept, else the calling thread's current
// driver error. The kept error is cleared by every ShowWarning, whichever warning it is.
//
// Warnings 1, 3, 4 and 5, and 2 answered No, end the program with HALT (exit code 0) after the
// user has closed the box; they are raised only while the settings file is opened or created.
//
// Thread safety: callable from any thread; the box is modal on the calling thread.
#ifndef TWIQLIB_STORE_WARNINGS_H_
#define TWIQLIB_STORE_WARNINGS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "twiqlib/bindings/export.h"
#include "twiqlib/bindings/message_box.h"

namespace twiq {

// The warning numbers the library raises.
enum Warning : int32_t {
  kWarnInvalidFile = 1,           // A: file name; ends the program
  kWarnInvalidKey = 2,            // A: file name; Yes: rebuild, No: ends the program
  kWarnKeyRebuildError = 3,       // A: file name; ends the program
  kWarnFileCreationError = 4,     // A: file name; ends the program
  kWarnCreatedFileOpenError = 5,  // A: file name; ends the program
  kWarnRecordInsertError = 14,
  kWarnUpdateOperationError = 15,  // A: probable cause
  kWarnRecordUpdateError = 16,
  kWarnDeleteOperationError = 17,  // A: file label
  kWarnRecordDeleteError = 18,
  kWarnUpdateCancelled = 23,
  kWarnDuplicateKey = 24,  // A: key name
  kWarnAutoIncrementError = 25,
  kWarnFileAccessError = 30,  // A: file name
  kWarnConfirmDelete = 32,
  kWarnTransactionFramingError = 34,  // A: "Update" or "Delete", B: file label
  kWarnRecordRetrievalError = 35,     // A: file label
  kWarnViewOpenError = 36,
  kWarnRecordNotUpdated = 38,
};

// One row of the table made concrete.
struct WarningBox {
  MessageBoxRequest box;
  // Ends the program after the box with this text ("" for rows that return).
  std::string halt_text;
  // Row 2: the answer No ends the program with halt_text; any other answer returns 2.
  bool halt_on_no = false;
};

// Composes row `number` for texts `a` and `b`, the error description `error` and the error
// code `error_code` (row 15 tells a change by another station, codes 0 and 89, from other
// errors). Numbers outside the table give a box captioned "Twiq" that names the number.
TWIQ_INTERNAL_API WarningBox ComposeWarning(int32_t number, std::string_view a, std::string_view b,
                                            std::string_view error, int32_t error_code);

// Shows warning `number` and returns the button pressed (rows 34, 35 and 36 return it too,
// though no caller uses it; row 2 returns 2 unless it ends the program). Consumes the kept
// file error.
TWIQ_INTERNAL_API int32_t ShowWarning(int32_t number, std::string_view a = {},
                                      std::string_view b = {});

}  // namespace twiq

#endif  // TWIQLIB_STORE_WARNINGS_H_
