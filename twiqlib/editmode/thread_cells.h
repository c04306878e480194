// ThreadRequest and ThreadResponse: the two per-thread cells through which the library's
// modal form windows (property editor, control list, processed-controls browser) and edit
// mode tell each other what is asked and how it ended. Request: 1 insert, 2 change, 3 delete,
// anything else lets the callee decide. Response: 1 completed, 2 cancelled.
//
// Thread safety: each thread has its own pair, created at its first use and ending with the
// thread; never hand a reference to another thread.
#ifndef TWIQLIB_EDITMODE_THREAD_CELLS_H_
#define TWIQLIB_EDITMODE_THREAD_CELLS_H_

#include <cstdint>

#include "twiqlib/bindings/export.h"

namespace twiq {

inline constexpr int32_t kResponseCompleted = 1;
inline constexpr int32_t kResponseCancelled = 2;

TWIQ_INTERNAL_API int32_t& ThreadRequest();
TWIQ_INTERNAL_API int32_t& ThreadResponse();

}  // namespace twiq

#endif  // TWIQLIB_EDITMODE_THREAD_CELLS_H_
