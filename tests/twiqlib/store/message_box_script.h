// Test helper: answers the library's message boxes from a script and records every request.
#ifndef TESTS_TWIQLIB_STORE_MESSAGE_BOX_SCRIPT_H_
#define TESTS_TWIQLIB_STORE_MESSAGE_BOX_SCRIPT_H_

#include <deque>
#include <mutex>
#include <utility>
#include <vector>

#include "twiqlib/bindings/message_box.h"

namespace twiq::testing {

// While alive, every box is recorded and answered with the next scripted answer, or with
// its default button when the script is used up. Thread safe.
class MessageBoxScript {
 public:
  explicit MessageBoxScript(std::deque<int> answers = {}) : answers_(std::move(answers)) {
    previous_ = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
      std::lock_guard<std::mutex> lock(mutex_);
      shown_.push_back(request);
      if (answers_.empty()) return request.default_button;
      int answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
  }
  ~MessageBoxScript() { SetMessageBoxHandler(std::move(previous_)); }
  MessageBoxScript(const MessageBoxScript&) = delete;
  MessageBoxScript& operator=(const MessageBoxScript&) = delete;

  void Answer(int button) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(button);
  }
  std::vector<MessageBoxRequest> shown() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
  }
  void Forget() {
    std::lock_guard<std::mutex> lock(mutex_);
    shown_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::deque<int> answers_;
  std::vector<MessageBoxRequest> shown_;
  MessageBoxHandler previous_;
};

}  // namespace twiq::testing

#endif  // TESTS_TWIQLIB_STORE_MESSAGE_BOX_SCRIPT_H_
