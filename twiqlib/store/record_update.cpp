#include "twiqlib/store/record_update.h"

#include <string>

#include "runtime/keyfile/errors.h"
#include "twiqlib/store/file_error.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/warnings.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiq {

namespace kf = rt::keyfile;

namespace {
constexpr int kTransactionWaitSeconds = 2;
}  // namespace

void SaveFileError() {
  KeepFileError(CurrentFileError());
  Store().win_file.Rollback();
}

uint8_t UpdateWinRecord(uint8_t flag) {
  kf::File& file = Store().win_file;
  if (file.Begin(kTransactionWaitSeconds) != kf::kOk) {
    SaveFileError();
    ShowWarning(kWarnTransactionFramingError, "Update", kFileLabel);
    return kRecordFailed;
  }
  const std::string position = file.Position(kKeyUid);
  if (file.Put() != kf::kOk) {
    const int code = kf::ErrorCode();
    SaveFileError();
    if (code == kf::kRecordChanged) {
      if (flag) {
        ShowWarning(kWarnRecordNotUpdated);
      } else {
        ShowWarning(kWarnUpdateOperationError, "Record Changed by Another Station");
      }
      file.Watch();
      file.Reget(position);
      return kRecordChanged;
    }
    ShowWarning(kWarnUpdateOperationError, kFileLabel);
    return kRecordFailed;
  }
  // A commit that fails loses the write: it is reported like a failed write.
  if (file.Commit() != kf::kOk) {
    SaveFileError();
    ShowWarning(kWarnUpdateOperationError, kFileLabel);
    return kRecordFailed;
  }
  return kRecordWritten;
}

uint8_t DeleteWinRecord() {
  kf::File& file = Store().win_file;
  const std::string position = file.Position(kKeyUid);
  if (file.Begin(kTransactionWaitSeconds) != kf::kOk) {
    SaveFileError();
    ShowWarning(kWarnTransactionFramingError, "Delete", kFileLabel);
    return kRecordFailed;
  }
  // The record is deleted only as it is read again by its position: a record that has gone
  // meanwhile is reported, never another one deleted in its place.
  if (file.Reget(position) != kf::kOk || file.Delete() != kf::kOk || file.Commit() != kf::kOk) {
    SaveFileError();
    ShowWarning(kWarnDeleteOperationError, kFileLabel);
    return kRecordFailed;
  }
  return kRecordWritten;
}

}  // namespace twiq
