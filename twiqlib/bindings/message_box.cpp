#include "twiqlib/bindings/message_box.h"

#include <mutex>
#include <string_view>
#include <utility>

#include "runtime/dialog/dialog.h"

namespace twiq {
namespace {

struct MessageBoxRegistry {
  std::mutex mutex;
  MessageBoxHandler handler;  // GUARDED_BY(mutex)
};

MessageBoxRegistry& Registry() {
  static MessageBoxRegistry* registry = new MessageBoxRegistry();  // never destroyed
  return *registry;
}

std::string_view IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kExclamation:
      return "Exclamation";
    case MessageIcon::kQuestion:
      return "Question";
    case MessageIcon::kNone:
      break;
  }
  return "";
}

// The runtime's MESSAGE: the display shows the box (with no display the runtime writes it to
// standard error and answers with the default button).
int DefaultMessageBox(const MessageBoxRequest& request) {
  return rt::MessageBox(request.text, request.caption, IconName(request.icon), request.buttons,
                        request.default_button);
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard<std::mutex> lock(Registry().mutex);
  return std::exchange(Registry().handler, std::move(handler));
}

int ShowMessageBox(const MessageBoxRequest& request) {
  MessageBoxHandler handler;
  {
    std::lock_guard<std::mutex> lock(Registry().mutex);
    handler = Registry().handler;
  }
  return handler ? handler(request) : DefaultMessageBox(request);
}

}  // namespace twiq
