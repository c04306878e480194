#include "twiqlib/store/settings_upgrade.h"

#include <string>

#include "runtime/value/text.h"
#include "twiqlib/bindings/message_box.h"
#include "twiqlib/store/win_file.h"

namespace twiq {
namespace {

void ReportNeedsConversion(const std::string& why) {
  MessageBoxRequest box;
  box.caption = "Twiq";
  box.icon = MessageIcon::kExclamation;
  box.text = "The settings file " + rt::Clip(SettingsFileNameVariable()->Get()) + " " + why +
             "|It must be converted before it can be used.";
  ShowMessageBox(box);
}

}  // namespace

bool ProtectSettingsFile(std::string_view password) {
  ReportNeedsConversion("is not protected by the configured password.");
  SettingsPasswordVariable()->Set(password);
  return false;
}

bool UpgradeLayout01() {
  ReportNeedsConversion("holds records of an older layout.");
  return false;
}

}  // namespace twiq
