#include "twiqlib/store/file_error.h"

#include <mutex>
#include <string>
#include <utility>

#include "runtime/keyfile/errors.h"
#include "runtime/value/text.h"

namespace twiq {
namespace {

struct KeptFileError {
  std::mutex mutex;
  FileError error;  // GUARDED_BY(mutex)
};

KeptFileError& Kept() {
  static KeptFileError* kept = new KeptFileError();  // never destroyed: usable at exit
  return *kept;
}

std::string Cut(std::string text, size_t limit) {
  if (text.size() > limit) text.resize(limit);
  return text;
}

FileError CutTexts(FileError error) {
  error.text = Cut(std::move(error.text), kFileErrorTextLimit);
  error.driver_code = Cut(std::move(error.driver_code), kFileErrorTextLimit);
  error.driver_message = Cut(std::move(error.driver_message), kFileErrorTextLimit);
  return error;
}

}  // namespace

FileError CurrentFileError() {
  FileError error;
  error.code = rt::keyfile::ErrorCode();
  error.text = rt::keyfile::ErrorText();
  error.driver_code = std::to_string(rt::keyfile::DriverErrorCode());
  error.driver_message = rt::keyfile::DriverError();
  return CutTexts(std::move(error));
}

void KeepFileError(const FileError& error) {
  FileError cut = CutTexts(error);
  std::lock_guard<std::mutex> lock(Kept().mutex);
  Kept().error = std::move(cut);
}

FileError TakeKeptFileError() {
  std::lock_guard<std::mutex> lock(Kept().mutex);
  return std::exchange(Kept().error, FileError{});
}

FileError PeekKeptFileError() {
  std::lock_guard<std::mutex> lock(Kept().mutex);
  return Kept().error;
}

std::string DescribeFileError(const FileError& error) {
  std::string description;
  if (error.code == rt::keyfile::kDriverError || error.code == 100) {
    description = rt::Clip(error.driver_message) + " (" + rt::Clip(error.driver_code) + ")";
  } else {
    description = rt::Clip(error.text) + " (" + std::to_string(error.code) + ")";
  }
  return Cut(std::move(description), kDescriptionLimit);
}

}  // namespace twiq
