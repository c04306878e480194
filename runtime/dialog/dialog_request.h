// Dialog requests: what a runtime thread asks the display to show, and the answer it waits for.
//
// A DialogCall is shared between the asking thread (which waits in Wait) and the display
// (which calls Answer once, on any thread). Thread-safe.
#ifndef RUNTIME_DIALOG_DIALOG_REQUEST_H_
#define RUNTIME_DIALOG_DIALOG_REQUEST_H_

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/event/runtime_thread.h"
#include "runtime/window/window.h"

namespace rt {

// Message box buttons; a box offers a sum of them and returns the one pressed.
namespace button {
inline constexpr int kOk = 1;
inline constexpr int kYes = 2;
inline constexpr int kNo = 4;
inline constexpr int kRetry = 16;
inline constexpr int kCancel = 64;
inline constexpr int kAll = kOk | kYes | kNo | kRetry | kCancel;
// The buttons of `sum` in the order a box shows them (OK, Yes, No, Retry, Cancel).
std::vector<int> ButtonsOf(int sum);
// "OK", "Yes", "No", "Retry", "Cancel"; "" for anything else. ButtonFromName is its inverse
// (case-insensitive), 0 for an unknown name.
std::string_view ButtonName(int button);
int ButtonFromName(std::string_view name);
}  // namespace button

// One entry of a pop-up menu.
struct PopupItem {
  std::string text;
  bool separator = false;  // a "-" entry: a line, not an item, not numbered
  bool greyed = false;     // a "~" entry: shown but cannot be chosen
  int number = 0;          // 1-based among the items (separators excluded); 0 for separators
};

// Parses a POPUP menu text: entries separated by "|", "-" alone for a separator, a leading
// "~" for a greyed item.
std::vector<PopupItem> ParsePopupMenu(std::string_view menu);

// Splits a message text at its "|" line breaks.
std::vector<std::string> MessageLines(std::string_view text);

enum class DialogKind { kMessage, kPopup, kColour, kFile };

struct DialogRequest {
  DialogKind kind = DialogKind::kMessage;
  ThreadId thread = 0;   // the asking runtime thread
  WindowRef window = 0;  // its top window (the dialog's owner), 0 for none

  // kMessage: text with "|" line breaks, caption, icon name, buttons (sum), default button.
  std::string text;
  std::string caption;
  std::string icon;
  int buttons = button::kOk;
  int default_button = button::kOk;

  // kPopup: the entries and, when given, the position in the owner's client pixels
  // (otherwise at the pointer).
  std::vector<PopupItem> items;
  std::optional<std::pair<int, int>> position;

  // kColour, kFile: title. kColour: the starting colour. kFile: the starting file name, the
  // "description|pattern" filter pairs, and the flags.
  std::string title;
  int64_t colour = 0;
  std::string file;
  std::string filter;
  int flags = 0;

  // One line for logs and failure reports, e.g. `message box "Twiq": Do you want ...`.
  std::string Describe() const;
};

struct DialogAnswer {
  int button = 0;       // kMessage: the button pressed
  int item = 0;         // kPopup: the item chosen, 0 for none
  bool chosen = false;  // kColour, kFile: a choice was made
  int64_t colour = 0;   // kColour: the colour chosen
  std::string file;     // kFile: the file chosen
};

// The answer that means "no choice": the default button, no item, nothing chosen.
DialogAnswer NoChoice(const DialogRequest& request);

class DialogCall {
 public:
  explicit DialogCall(DialogRequest request) : request_(std::move(request)) {}
  DialogCall(const DialogCall&) = delete;
  DialogCall& operator=(const DialogCall&) = delete;

  const DialogRequest& request() const { return request_; }

  // Gives the answer; only the first call counts. Any thread.
  void Answer(DialogAnswer answer);
  bool answered() const;
  // Blocks until answered and returns the answer.
  DialogAnswer Wait();

 private:
  const DialogRequest request_;
  mutable std::mutex mu_;
  std::condition_variable cv_;
  std::optional<DialogAnswer> answer_;  // guarded by mu_
};

}  // namespace rt

#endif  // RUNTIME_DIALOG_DIALOG_REQUEST_H_
