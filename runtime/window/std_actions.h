// Standard frame actions: menu commands the runtime's display performs by itself (arranging
// the children of an application frame, the clipboard, printer set-up, help, ending the
// program), so a program declares them in its menu and writes no code for them.
//
// A menu item carries its action as a name in its StdAction property (definition_codes.h).
#ifndef RUNTIME_WINDOW_STD_ACTIONS_H_
#define RUNTIME_WINDOW_STD_ACTIONS_H_

#include <optional>
#include <string_view>

namespace rt {

enum class StdAction {
  kTileWindow,     // "STD:TileWindow": tile the frame's children
  kCascadeWindow,  // "STD:CascadeWindow"
  kArrangeIcons,   // "STD:ArrangeIcons": line up the minimised children
  kExit,           // "STD:Exit": close the frame, ending the program
  kPrintSetup,     // "STD:PrintSetup"
  kCut,            // "STD:Cut": clipboard commands on the control with the focus
  kCopy,           // "STD:Copy"
  kPaste,          // "STD:Paste"
  kHelpContents,   // "STD:HelpContents"
  kHelpSearch,     // "STD:HelpSearch"
  kHelpHowTo,      // "STD:HelpHowTo": how to use help
};

// The action's name, as above.
std::string_view StdActionName(StdAction action);
// The action of a name (case-insensitive, trailing spaces ignored); nullopt for any other.
std::optional<StdAction> StdActionFromName(std::string_view name);

}  // namespace rt

#endif  // RUNTIME_WINDOW_STD_ACTIONS_H_
