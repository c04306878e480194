#include "tools/twiqfile/settings_access.h"

#include "runtime/keyfile/errors.h"
#include "twiqlib/store/win_file.h"

namespace twiqfile {

namespace kf = rt::keyfile;

std::string OpenErrorMessage(const std::string& name, int code) {
  switch (code) {
    case kf::kFileNotFound:
      return name + ": no such settings file";
    case kf::kBadPassword:
      return name + ": wrong or missing password (give the file's password with --password)";
    case kf::kKeysMustBeRebuilt:
      return name + ": the keys must be rebuilt (a bulk copy into the file was not finished)";
    case kf::kLayoutMismatch:
      return name + ": the records have a layout this tool does not know";
    case kf::kFileLocked:
      return name + ": locked by another program";
    case kf::kAccessDenied:
      return name + ": permission denied";
    case kf::kDriverError:
      return name + ": damaged or not a settings file (" + kf::DriverError() + ")";
    default:
      return name + ": cannot be opened: " + kf::ErrorText() + " (" + std::to_string(code) + ")";
  }
}

bool OpenSettings(const std::string& name, const std::string& password, int mode,
                  bool accept_older_layout, OpenedFile& out, std::string& message) {
  twiq::SettingsFileNameVariable()->Set(name);
  twiq::SettingsPasswordVariable()->Set(password);
  auto open = [&](std::shared_ptr<const kf::FileDeclaration> declaration) {
    out.file = std::make_unique<kf::File>(declaration);
    out.record.assign(declaration->record_length, std::byte{0});
    out.file->Bind(out.record);
    return out.file->Open(mode);
  };
  int rc = open(twiq::WinDeclaration());
  if (rc == kf::kLayoutMismatch && accept_older_layout) {
    if (open(twiq::Win001Declaration()) == kf::kOk) {
      out.older_layout = true;
      return true;
    }
  }
  if (rc != kf::kOk) {
    message = OpenErrorMessage(name, rc);
    out.file.reset();
    return false;
  }
  return true;
}

}  // namespace twiqfile
