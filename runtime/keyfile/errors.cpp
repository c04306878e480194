#include <sqlite3.h>

#include <cstring>

#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/status.h"

namespace rt::keyfile {
namespace {

struct ThreadErrorState {
  int code = kOk;
  std::string text;
  int driver_code = 0;
  std::string driver_message;
};

ThreadErrorState& State() {
  thread_local ThreadErrorState state;
  return state;
}

}  // namespace

std::string_view DescribeError(int code) {
  switch (code) {
    case kOk:
      return "";
    case kFileNotFound:
      return "File not found";
    case kAccessDenied:
      return "Access denied";
    case kFileLocked:
      return "File is locked";
    case kRecordNotAvailable:
      return "Record not available";
    case kRecordNotFound:
      return "Record not found";
    case kBadPassword:
      return "Invalid or missing password";
    case kFileNotOpen:
      return "File not open";
    case kDuplicateKey:
      return "Creates duplicate key";
    case kKeysMustBeRebuilt:
      return "Keys must be rebuilt";
    case kLayoutMismatch:
      return "Record layout does not match the file";
    case kFileAlreadyOpen:
      return "File already open";
    case kTransactionActive:
      return "Transaction already active";
    case kNoTransaction:
      return "No transaction active";
    case kInvalidRequest:
      return "Invalid request";
    case kRecordChanged:
      return "Record changed by another station";
    case kDriverError:
      return "File driver error";
    case kBadFilter:
      return "Invalid filter expression";
    default:
      return "Unknown error";
  }
}

int ErrorCode() { return State().code; }
const std::string& ErrorText() { return State().text; }
int DriverErrorCode() { return State().driver_code; }
const std::string& DriverError() { return State().driver_message; }

Status Status::Os(int code, int err, const std::string& what) {
  return Status(code, err, what + ": " + std::strerror(err));
}

Status Status::Sqlite(sqlite3* db, int rc) {
  int extended = db != nullptr ? sqlite3_extended_errcode(db) : rc;
  if ((extended & 0xff) != (rc & 0xff)) extended = rc;
  std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  int code = kDriverError;
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      code = kFileLocked;
      break;
    case SQLITE_CONSTRAINT:
      if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY) {
        code = kDuplicateKey;
      }
      break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      code = kAccessDenied;
      break;
    default:
      break;
  }
  return Status(code, extended, std::move(message));
}

int Publish(const Status& status) {
  ThreadErrorState& state = State();
  state.code = status.code();
  state.text = std::string(DescribeError(status.code()));
  state.driver_code = status.driver_code();
  state.driver_message = status.message();
  return status.code();
}

}  // namespace rt::keyfile
