#include "runtime/window/std_actions.h"

#include <utility>

#include "runtime/value/text.h"

namespace rt {
namespace {

constexpr std::pair<StdAction, std::string_view> kNames[] = {
    {StdAction::kTileWindow, "STD:TileWindow"},
    {StdAction::kCascadeWindow, "STD:CascadeWindow"},
    {StdAction::kArrangeIcons, "STD:ArrangeIcons"},
    {StdAction::kExit, "STD:Exit"},
    {StdAction::kPrintSetup, "STD:PrintSetup"},
    {StdAction::kCut, "STD:Cut"},
    {StdAction::kCopy, "STD:Copy"},
    {StdAction::kPaste, "STD:Paste"},
    {StdAction::kHelpContents, "STD:HelpContents"},
    {StdAction::kHelpSearch, "STD:HelpSearch"},
    {StdAction::kHelpHowTo, "STD:HelpHowTo"},
};

}  // namespace

std::string_view StdActionName(StdAction action) {
  for (const auto& [a, name] : kNames) {
    if (a == action) return name;
  }
  return "";
}

std::optional<StdAction> StdActionFromName(std::string_view name) {
  for (const auto& [a, n] : kNames) {
    if (ClipEquals(n, name)) return a;
  }
  return std::nullopt;
}

}  // namespace rt
