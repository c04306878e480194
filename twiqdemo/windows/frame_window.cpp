// The application frame: its menu bar, items and status-bar messages.
#include "runtime/window/definition_builder.h"
#include "twiqdemo/windows/demo_windows.h"

namespace twiqdemo {

using rt::Item;
using rt::Menu;
using rt::Separator;
using rt::StdAction;

const rt::WindowDefinition& FrameDefinition() {
  static const rt::WindowDefinition def =
      rt::WindowDef("Frame$AppFrame", "Application")
          .At(0, 0)
          .Size(480, 300)
          .Font("MS Sans Serif", 8)
          .Icon("WAFRAME.ICO")
          .Flags({.mdi_frame = true,
                  .resizable = true,
                  .system_menu = true,
                  .max_box = true,
                  .min_box = true,
                  .status_bar = true})
          .Menus({
              Menu("?FileMenu", "&File",
                   {Item("?PrintSetup", "&Print Setup ...")
                        .Msg("Setup printer")
                        .Action(StdAction::kPrintSetup),
                    Separator(),
                    Item("?Exit", "E&xit").Msg("Exit this application").Action(StdAction::kExit)}),
              Menu("?EditMenu", "&Edit",
                   {Item("?Cut", "Cu&t")
                        .Msg("Remove item to Windows Clipboard")
                        .Action(StdAction::kCut),
                    Item("?Copy", "&Copy")
                        .Msg("Copy item to Windows Clipboard")
                        .Action(StdAction::kCopy),
                    Item("?Paste", "&Paste")
                        .Msg("Paste contents of Windows Clipboard")
                        .Action(StdAction::kPaste)}),
              Item("?Twiq", "&Twiq").Feq(kFrameTwiqItem),
              Menu("?WindowMenu", "&Window",
                   {Item("?Tile", "T&ile")
                        .Msg("Make all open windows visible")
                        .Action(StdAction::kTileWindow),
                    Item("?Cascade", "&Cascade")
                        .Msg("Stack all open windows")
                        .Action(StdAction::kCascadeWindow),
                    Item("?Arrange", "&Arrange Icons")
                        .Msg("Align all window icons")
                        .Action(StdAction::kArrangeIcons)}),
              Menu("?HelpMenu", "&Help",
                   {Item("?HelpContents", "&Contents")
                        .Msg("View the contents of the help file")
                        .Action(StdAction::kHelpContents),
                    Item("?HelpSearch", "&Search for Help On...")
                        .Msg("Search for help on a subject")
                        .Action(StdAction::kHelpSearch),
                    Item("?HelpOnHelp", "&How to Use Help")
                        .Msg("How to use Windows Help")
                        .Action(StdAction::kHelpHowTo)}),
          });
  return def;
}

}  // namespace twiqdemo
