// Which file on disk is the settings file: pure name rules, no file access.
//
// With a blank folder the file lies beside the host's executable, named after it with the
// extension "twiq": "/opt/app/demo.bin" gives "/opt/app/demo.twiq", and an executable without
// an extension gets ".twiq" appended ("/opt/app/demo" gives "/opt/app/demo.twiq"). Only a dot
// inside the last path component, not its first character, starts an extension.
//
// With a folder the file lies in it, named after the executable's base name without its
// extension ("/data/" + "demo" + ".twiq"). The folder gets a "/" appended when its last
// non-blank character is not one, and that completed folder is what the host's settings hold
// afterwards. An executable path without any "/" is taken whole as the base name, extension
// included ("demo.bin" gives "/data/demo.bin.twiq").
//
// Trailing spaces of both inputs are ignored. Thread safety: pure functions.
#ifndef TWIQLIB_STORE_SETTINGS_FILE_NAME_H_
#define TWIQLIB_STORE_SETTINGS_FILE_NAME_H_

#include <string>
#include <string_view>

#include "twiqlib/bindings/export.h"

namespace twiq {

inline constexpr std::string_view kSettingsExtension = "twiq";

struct SettingsFileLocation {
  std::string file_name;        // full name of the settings file
  std::string folder;           // the folder as the host's settings should hold it ("" when blank)
  bool folder_changed = false;  // a "/" was appended to the folder
};

// REQUIRES: nothing; an empty executable path gives a name with an empty base.
TWIQ_INTERNAL_API SettingsFileLocation LocateSettingsFileName(std::string_view executable_path,
                                                              std::string_view folder);

}  // namespace twiq

#endif  // TWIQLIB_STORE_SETTINGS_FILE_NAME_H_
