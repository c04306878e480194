#include "twiqlib/store/settings_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "runtime/keyfile/errors.h"
#include "runtime/program/halt.h"
#include "runtime/program/program.h"
#include "runtime/value/text.h"
#include "twiqlib/store/settings_file_name.h"
#include "twiqlib/store/settings_upgrade.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/warnings.h"
#include "twiqlib/store/win_file.h"

namespace twiq {
namespace {

namespace kf = rt::keyfile;

bool FileExists(const std::string& name) {
  struct stat st;
  return !name.empty() && stat(name.c_str(), &st) == 0;
}

// Stores `text` into a fixed text field of the host's settings, space padded. False (and
// nothing stored) when it does not fit.
template <size_t N>
bool StoreFixed(char (&field)[N], std::string_view text) {
  if (text.size() > N) return false;
  std::memcpy(field, text.data(), text.size());
  std::memset(field + text.size(), ' ', N - text.size());
  return true;
}

// One probe of the existing file; `may_repeat`: a successful protection runs the whole
// location once more, as the file then has its new form.
void Locate(TWIQSETTINGS& settings, bool may_repeat) {
  const std::string_view folder(settings.TWIQPATH, sizeof settings.TWIQPATH);
  SettingsFileLocation location = LocateSettingsFileName(rt::ExecutablePath(), folder);
  // A folder completed with "/" goes back to the host; one with no room for it is still used
  // completed, so the file never lands in a sibling named after the folder.
  if (location.folder_changed) StoreFixed(settings.TWIQPATH, location.folder);
  const std::string password =
      rt::Clip(std::string_view(settings.PASSWORD, sizeof settings.PASSWORD));

  kf::TextVariable& name_variable = *SettingsFileNameVariable();
  kf::TextVariable& password_variable = *SettingsPasswordVariable();
  name_variable.Set(location.file_name);
  if (!password.empty()) password_variable.Set(password);
  // A missing file is created by the first open, with the password variable as it stands.
  if (!FileExists(location.file_name)) return;

  kf::File probe(WinDeclaration());
  int rc;
  if (!password.empty()) {
    rc = probe.Open(kf::kModeDenyWrite);
    if (rc == kf::kOk) {
      probe.Close();
      return;
    }
    if (rc == kf::kBadPassword) {
      password_variable.Set("");
      rc = probe.Open(kf::kModeDenyWrite);
      if (rc == kf::kOk) {
        probe.Close();
        bool protected_now = ProtectSettingsFile(password);
        password_variable.Set(password);
        if (protected_now && may_repeat) Locate(settings, false);
        return;
      }
      // Protected under another password: the next open reports it.
      password_variable.Set(password);
      return;
    }
  } else {
    password_variable.Set("");
    rc = probe.Open(kf::kModeDenyWrite);
    if (rc == kf::kOk) {
      probe.Close();
      return;
    }
  }
  if (rc == kf::kLayoutMismatch) UpgradeLayout01();
  // Any other error is left to the next open, which reports it.
}

}  // namespace

void LocateSettingsFile(TWIQSETTINGS& settings) { Locate(settings, true); }

uint8_t OpenWithRecovery(kf::File& file, bool create_if_missing, bool no_create, int mode,
                         bool shared) {
  const int open_mode = shared ? kf::kModeShared : mode;
  const std::string name = rt::Clip(file.GetProperty(kf::kPropFileName));
  int rc = file.Open(open_mode);
  if (rc == kf::kFileLocked) {
    file.SendOption("Recover=10");
    rc = file.Open(open_mode);
  }
  switch (rc) {
    case kf::kOk:
    case kf::kFileAlreadyOpen:
      return 0;
    case kf::kFileNotFound:
      if (no_create) break;
      if (!create_if_missing) {
        ShowWarning(kWarnFileCreationError, name);
        break;
      }
      if (file.Create() != kf::kOk) {
        ShowWarning(kWarnFileCreationError, name);
      } else if (file.Open(open_mode) != kf::kOk) {
        ShowWarning(kWarnCreatedFileOpenError, name);
      } else {
        return 0;
      }
      break;
    case kf::kLayoutMismatch:
      ShowWarning(kWarnInvalidFile, name);
      break;
    case kf::kKeysMustBeRebuilt:
      ShowWarning(kWarnInvalidKey, name);  // returns only when the user agreed
      if (file.Build() != kf::kOk) {
        ShowWarning(kWarnKeyRebuildError, name);
      } else {
        file.Open(open_mode);
      }
      break;
    default:
      break;
  }
  if (kf::ErrorCode() != kf::kOk) {
    ShowWarning(kWarnFileAccessError, name);
    rt::Halt(0, "Disk Error");
  }
  return 0;
}

uint8_t OpenSettingsFile(SettingsFileHold& hold, SettingsFiles files) {
  StoreThreadContext& store = Store();
  if (store.win_open_count == 0) {
    OpenWithRecovery(store.win_file, true, false, kf::kModeShared, true);
  }
  ++store.win_open_count;
  ++hold.win;
  if (files == SettingsFiles::kWinAndWin2) {
    if (store.win2_open_count == 0) {
      OpenWithRecovery(store.win2_file, true, false, kf::kModeShared, true);
    }
    ++store.win2_open_count;
    ++hold.win2;
  }
  return 0;
}

void ReleaseSettingsFile(SettingsFileHold& hold) {
  StoreThreadContext& store = Store();
  for (; hold.win > 0; --hold.win) {
    if (store.win_open_count > 0 && --store.win_open_count == 0) store.win_file.Close();
  }
  for (; hold.win2 > 0; --hold.win2) {
    if (store.win2_open_count > 0 && --store.win2_open_count == 0) store.win2_file.Close();
  }
}

}  // namespace twiq
