#include "runtime/window/definition_codes.h"

#include <utility>

namespace rt::prop {

std::optional<std::string_view> DefinitionPropertyName(int code) {
  static constexpr std::pair<int, std::string_view> kNames[] = {
      {kMdiFrame, "MdiFrame"},
      {kMdiChild, "MdiChild"},
      {kModal, "Modal"},
      {kResizable, "Resizable"},
      {kSystemMenu, "SystemMenu"},
      {kMaxBox, "MaxBox"},
      {kMinBox, "MinBox"},
      {kStatusBar, "StatusBar"},
      {kPicture, "Picture"},
      {kChoiceValue, "ChoiceValue"},
      {kStdAction, "StdAction"},
      {kSeparator, "Separator"},
      {kUse, "Use"},
      {kMenuPosition, "MenuPosition"},
  };
  for (const auto& [c, name] : kNames) {
    if (c == code) return name;
  }
  return std::nullopt;
}

}  // namespace rt::prop
