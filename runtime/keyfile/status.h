// Internal to the driver: the outcome of one step, and its publication as the
// calling thread's error state (errors.h).

#ifndef RUNTIME_KEYFILE_STATUS_H_
#define RUNTIME_KEYFILE_STATUS_H_

#include <string>
#include <utility>

#include "runtime/keyfile/errors.h"

struct sqlite3;

namespace rt::keyfile {

// A cheap result of an internal step: the driver's error code, the code of the
// layer below (SQLite result code or errno, 0 when the driver itself decided)
// and a message for DriverError().
class Status {
 public:
  Status() = default;
  Status(int code, int driver_code, std::string message)
      : code_(code), driver_code_(driver_code), message_(std::move(message)) {}

  static Status Ok() { return Status(); }
  // A failure the driver decided itself.
  static Status Error(int code, std::string message) { return Status(code, 0, std::move(message)); }
  // A failure of an OS call: errno and its text, prefixed with what was tried.
  static Status Os(int code, int err, const std::string& what);
  // A failure of a SQLite call on `db`, mapped to a driver code (busy -> 32,
  // unique constraint -> 40, anything else -> 90).
  static Status Sqlite(sqlite3* db, int rc);

  bool ok() const { return code_ == kOk; }
  int code() const { return code_; }
  int driver_code() const { return driver_code_; }
  const std::string& message() const { return message_; }

 private:
  int code_ = kOk;
  int driver_code_ = 0;
  std::string message_;
};

// Stores `status` as the calling thread's error state and returns its code.
int Publish(const Status& status);

}  // namespace rt::keyfile

// Propagates a failed Status from an expression.
#define KEYFILE_RETURN_IF_ERROR(expr)       \
  do {                                      \
    ::rt::keyfile::Status status_ = (expr); \
    if (!status_.ok()) return status_;      \
  } while (0)

#endif  // RUNTIME_KEYFILE_STATUS_H_
