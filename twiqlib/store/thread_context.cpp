#include "twiqlib/store/thread_context.h"

#include "twiqlib/store/win_file.h"

namespace twiq {

StoreThreadContext::StoreThreadContext()
    : win_file(WinDeclaration()),
      win2_file(Win2Declaration()),
      win002_file(Win002Declaration()),
      win001_file(Win001Declaration()) {
  win_file.Bind(RecordBytes(win));
  win2_file.Bind(RecordBytes(win2));
  win002_file.Bind(RecordBytes(win002));
  win001_file.Bind(RecordBytes(win001));
}

StoreThreadContext& Store() {
  thread_local StoreThreadContext context;
  return context;
}

}  // namespace twiq
