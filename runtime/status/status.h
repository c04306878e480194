// rt::Status: the result of a runtime operation that can fail for a reason the caller should
// see (bad input, a closed window). Cheap to copy when ok.
#ifndef RUNTIME_STATUS_STATUS_H_
#define RUNTIME_STATUS_STATUS_H_

#include <string>
#include <utility>

namespace rt {

class Status {
 public:
  enum class Code { kOk, kInvalidArgument, kNotFound, kAlreadyExists, kClosed, kFailed };

  Status() = default;
  static Status Ok() { return Status(); }
  static Status InvalidArgument(std::string msg) {
    return {Code::kInvalidArgument, std::move(msg)};
  }
  static Status NotFound(std::string msg) { return {Code::kNotFound, std::move(msg)}; }
  static Status AlreadyExists(std::string msg) { return {Code::kAlreadyExists, std::move(msg)}; }
  static Status Closed(std::string msg) { return {Code::kClosed, std::move(msg)}; }
  static Status Failed(std::string msg) { return {Code::kFailed, std::move(msg)}; }

  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  const std::string& message() const { return message_; }
  // "ok", or the message.
  std::string ToString() const { return ok() ? "ok" : message_; }

 private:
  Status(Code code, std::string msg) : code_(code), message_(std::move(msg)) {}
  Code code_ = Code::kOk;
  std::string message_;
};

}  // namespace rt

#endif  // RUNTIME_STATUS_STATUS_H_
