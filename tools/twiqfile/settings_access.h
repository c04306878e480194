// Opening a settings file for the tool, with a clear message for everything that can go
// wrong (unlike the library, the tool never shows boxes or ends itself on an open error).
#ifndef TOOLS_TWIQFILE_SETTINGS_ACCESS_H_
#define TOOLS_TWIQFILE_SETTINGS_ACCESS_H_

#include <memory>
#include <string>
#include <vector>

#include "runtime/keyfile/file.h"

namespace twiqfile {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitProblems = 1;    // check found problems
inline constexpr int kExitUsage = 2;       // bad command line
inline constexpr int kExitCannotOpen = 3;  // missing, wrong password, damaged, locked, ...
inline constexpr int kExitFailed = 4;      // an export or import could not be completed

// A settings file opened for reading or writing: a handle with its own record buffer.
struct OpenedFile {
  std::unique_ptr<rt::keyfile::File> file;
  std::vector<std::byte> record;  // the handle's bound buffer
  bool older_layout = false;      // the file holds 3021-byte records of the oldest layout
};

// Sets the process-wide settings file name and password to `name` and `password` and opens
// the file in `mode`. A file of the oldest layout is opened in that layout when
// `accept_older_layout`. On failure returns false with a one-line `message` that names the
// file and says what is wrong.
bool OpenSettings(const std::string& name, const std::string& password, int mode,
                  bool accept_older_layout, OpenedFile& out, std::string& message);

// The message for a driver error code met while opening `name`.
std::string OpenErrorMessage(const std::string& name, int code);

}  // namespace twiqfile

#endif  // TOOLS_TWIQFILE_SETTINGS_ACCESS_H_
