#include "runtime/window/control_type.h"

#include <utility>

#include "runtime/value/text.h"

namespace rt {
namespace {

constexpr std::pair<ControlType, std::string_view> kNames[] = {
    {ControlType::kWindow, "WINDOW"},
    {ControlType::kString, "STRING"},
    {ControlType::kStringPicture, "SSTRING"},
    {ControlType::kImage, "IMAGE"},
    {ControlType::kRegion, "REGION"},
    {ControlType::kLine, "LINE"},
    {ControlType::kBox, "BOX"},
    {ControlType::kEllipse, "ELLIPSE"},
    {ControlType::kEntry, "ENTRY"},
    {ControlType::kButton, "BUTTON"},
    {ControlType::kPrompt, "PROMPT"},
    {ControlType::kOption, "OPTION"},
    {ControlType::kCheck, "CHECK"},
    {ControlType::kGroup, "GROUP"},
    {ControlType::kList, "LIST"},
    {ControlType::kCombo, "COMBO"},
    {ControlType::kSpin, "SPIN"},
    {ControlType::kText, "TEXT"},
    {ControlType::kCustom, "CUSTOM"},
    {ControlType::kMenu, "MENU"},
    {ControlType::kItem, "ITEM"},
    {ControlType::kRadio, "RADIO"},
    {ControlType::kDropList, "DROPLIST"},
    {ControlType::kDropCombo, "DROPCOMBO"},
    {ControlType::kSheet, "SHEET"},
    {ControlType::kTab, "TAB"},
    {ControlType::kPanel, "PANEL"},
    {ControlType::kRtfText, "RTF"},
    {ControlType::kToolbar, "TOOLBAR"},
};

}  // namespace

std::string_view ControlTypeName(ControlType type) {
  for (const auto& [t, name] : kNames) {
    if (t == type) return name;
  }
  return "";
}

std::optional<ControlType> ControlTypeFromName(std::string_view name) {
  for (const auto& [t, n] : kNames) {
    if (ClipEquals(n, name)) return t;
  }
  return std::nullopt;
}

std::optional<ControlType> ControlTypeFromCode(int code) {
  for (const auto& [t, n] : kNames) {
    if (static_cast<int>(t) == code) return t;
  }
  return std::nullopt;
}

bool IsContainer(ControlType type) {
  switch (type) {
    case ControlType::kOption:
    case ControlType::kGroup:
    case ControlType::kSheet:
    case ControlType::kTab:
    case ControlType::kPanel:
    case ControlType::kToolbar:
    case ControlType::kMenu:
      return true;
    default:
      return false;
  }
}

bool IsTextInput(ControlType type) {
  switch (type) {
    case ControlType::kEntry:
    case ControlType::kText:
    case ControlType::kRtfText:
    case ControlType::kSpin:
    case ControlType::kCombo:
    case ControlType::kDropCombo:
      return true;
    default:
      return false;
  }
}

bool IsListControl(ControlType type) {
  return type == ControlType::kList || type == ControlType::kDropList ||
         type == ControlType::kCombo || type == ControlType::kDropCombo;
}

bool TakesInput(ControlType type) {
  return IsTextInput(type) || IsListControl(type) || type == ControlType::kCheck ||
         type == ControlType::kOption;
}

}  // namespace rt
