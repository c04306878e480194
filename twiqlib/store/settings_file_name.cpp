#include "twiqlib/store/settings_file_name.h"

#include "runtime/value/text.h"

namespace twiq {
namespace {

// Length of `path` without the extension of its last component (the dot included), or the
// whole length when that component has none.
size_t StemEnd(std::string_view path) {
  size_t slash = path.rfind('/');
  size_t base = slash == std::string_view::npos ? 0 : slash + 1;
  size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot <= base) return path.size();
  return dot;
}

}  // namespace

SettingsFileLocation LocateSettingsFileName(std::string_view executable_path,
                                            std::string_view folder) {
  const std::string exe = rt::Clip(executable_path);
  SettingsFileLocation location;
  if (rt::IsBlank(folder)) {
    location.file_name = exe.substr(0, StemEnd(exe)) + "." + std::string(kSettingsExtension);
    return location;
  }
  std::string base;
  size_t slash = exe.rfind('/');
  if (slash == std::string::npos) {
    base = exe;
  } else {
    std::string last = exe.substr(slash + 1);
    base = last.substr(0, StemEnd(last));
  }
  location.folder = rt::Clip(folder);
  if (location.folder.back() != '/') {
    location.folder += '/';
    location.folder_changed = true;
  }
  location.file_name = location.folder + base + "." + std::string(kSettingsExtension);
  return location;
}

}  // namespace twiq
