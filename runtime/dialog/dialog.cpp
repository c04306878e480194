#include "runtime/dialog/dialog.h"

#include <cstdio>
#include <memory>

#include "runtime/display/display.h"
#include "runtime/event/accept.h"

namespace rt {
namespace {

// Makes the answer one the request allows.
DialogAnswer Checked(const DialogRequest& r, DialogAnswer a) {
  switch (r.kind) {
    case DialogKind::kMessage:
      if ((a.button & r.buttons) == 0 || button::ButtonsOf(a.button).size() != 1) {
        a.button = r.default_button;
      }
      break;
    case DialogKind::kPopup: {
      bool ok = false;
      for (const PopupItem& i : r.items) ok |= !i.separator && !i.greyed && i.number == a.item;
      if (!ok) a.item = 0;
      break;
    }
    case DialogKind::kColour:
    case DialogKind::kFile:
      break;
  }
  return a;
}

DialogRequest MakeRequest(DialogKind kind) {
  DialogRequest r;
  r.kind = kind;
  r.thread = CurrentThread();
  std::vector<WindowRef> windows = ThreadWindows();
  r.window = windows.empty() ? 0 : windows.back();
  return r;
}

}  // namespace

DialogAnswer AskDisplay(DialogRequest request) {
  if (request.kind == DialogKind::kMessage) {
    if ((request.buttons & button::kAll) == 0) request.buttons = button::kOk;
    request.buttons &= button::kAll;
    if ((request.default_button & request.buttons) == 0 ||
        button::ButtonsOf(request.default_button).size() != 1) {
      request.default_button = button::ButtonsOf(request.buttons).front();
    }
  }
  std::shared_ptr<Display> display = CurrentDisplay();
  if (!display) {
    std::fprintf(stderr, "twiqrt: no display for %s; answered with no choice\n",
                 request.Describe().c_str());
    return NoChoice(request);
  }
  auto call = std::make_shared<DialogCall>(std::move(request));
  display->ShowDialog(call);
  return Checked(call->request(), call->Wait());
}

int MessageBox(std::string_view text, std::string_view caption, std::string_view icon, int buttons,
               int default_button) {
  DialogRequest r = MakeRequest(DialogKind::kMessage);
  r.text = text;
  r.caption = caption;
  r.icon = icon;
  r.buttons = buttons;
  r.default_button = default_button;
  return AskDisplay(std::move(r)).button;
}

int Popup(std::string_view menu, std::optional<std::pair<int, int>> position) {
  DialogRequest r = MakeRequest(DialogKind::kPopup);
  r.text = menu;
  r.items = ParsePopupMenu(menu);
  r.position = position;
  return AskDisplay(std::move(r)).item;
}

bool ColourDialog(std::string_view title, int64_t& colour) {
  DialogRequest r = MakeRequest(DialogKind::kColour);
  r.title = title;
  r.colour = colour;
  DialogAnswer a = AskDisplay(std::move(r));
  if (a.chosen) colour = a.colour;
  return a.chosen;
}

bool FileDialog(std::string_view title, std::string& file, std::string_view filter, int flags) {
  DialogRequest r = MakeRequest(DialogKind::kFile);
  r.title = title;
  r.file = file;
  r.filter = filter;
  r.flags = flags;
  DialogAnswer a = AskDisplay(std::move(r));
  if (a.chosen) file = a.file;
  return a.chosen;
}

}  // namespace rt
