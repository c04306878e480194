#include "twiqlib/store/add_with_new_uid.h"

#include <limits>

#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/keyfile/errors.h"
#include "twiqlib/bindings/message_box.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/warnings.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiq {

namespace kf = rt::keyfile;

uint8_t AddWithNewUid() {
  constexpr int kAttempts = 3;
  StoreThreadContext& store = Store();
  WinRecord& win = store.win;
  kf::File& file = store.win_file;
  WinRecord scratch = win;
  int attempts = 0;
  for (;;) {
    // The highest UID: the last record in UID order.
    file.Set(kKeyUid);
    int rc = file.Previous();
    if (rc != kf::kOk && rc != kf::kRecordNotAvailable) {
      ShowWarning(kWarnRecordRetrievalError, kFileLabel);
      rt::Post(rt::event::kCloseWindow);
      win = scratch;
      return 0;
    }
    const bool empty = rc == kf::kRecordNotAvailable;
    const uint32_t highest = empty ? 0u : uint32_t{win.uid};
    win = scratch;
    if (highest != std::numeric_limits<uint32_t>::max()) {
      win.uid = highest + 1;
      scratch = win;
      if (file.Add() == kf::kOk) return 0;
    }
    if (++attempts < kAttempts) continue;
    if (ShowWarning(kWarnAutoIncrementError) == kButtonRetry) {
      attempts = 0;
      continue;
    }
    MessageBoxRequest box;
    box.caption = "Twiq";
    box.text = "Record Can't be created!";
    ShowMessageBox(box);
    return 0;
  }
}

}  // namespace twiq
