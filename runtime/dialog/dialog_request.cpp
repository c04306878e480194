#include "runtime/dialog/dialog_request.h"

#include "runtime/value/text.h"

namespace rt {
namespace button {
namespace {
constexpr std::pair<int, std::string_view> kButtons[] = {
    {kOk, "OK"}, {kYes, "Yes"}, {kNo, "No"}, {kRetry, "Retry"}, {kCancel, "Cancel"},
};
}  // namespace

std::vector<int> ButtonsOf(int sum) {
  std::vector<int> out;
  for (const auto& [b, name] : kButtons) {
    if (sum & b) out.push_back(b);
  }
  return out;
}

std::string_view ButtonName(int b) {
  for (const auto& [code, name] : kButtons) {
    if (code == b) return name;
  }
  return "";
}

int ButtonFromName(std::string_view name) {
  for (const auto& [code, n] : kButtons) {
    if (ClipEquals(n, name)) return code;
  }
  return 0;
}

}  // namespace button

std::vector<std::string> MessageLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    const size_t bar = text.find('|', start);
    lines.emplace_back(text.substr(start, bar == std::string_view::npos ? bar : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return lines;
}

std::vector<PopupItem> ParsePopupMenu(std::string_view menu) {
  std::vector<PopupItem> items;
  int number = 0;
  for (std::string& entry : MessageLines(menu)) {
    PopupItem item;
    if (entry == "-") {
      item.separator = true;
    } else {
      if (!entry.empty() && entry[0] == '~') {
        item.greyed = true;
        entry.erase(0, 1);
      }
      item.text = std::move(entry);
      item.number = ++number;
    }
    items.push_back(std::move(item));
  }
  return items;
}

std::string DialogRequest::Describe() const {
  switch (kind) {
    case DialogKind::kMessage: {
      std::string lines;
      for (const std::string& l : MessageLines(text)) lines += (lines.empty() ? "" : " / ") + l;
      return "message box \"" + caption + "\": " + lines;
    }
    case DialogKind::kPopup: {
      std::string out = "pop-up menu:";
      for (const PopupItem& i : items) {
        if (i.separator) continue;
        out += " " + std::to_string(i.number) + "=" + (i.greyed ? "~" : "") + i.text;
      }
      return out;
    }
    case DialogKind::kColour:
      return "colour dialog \"" + title + "\"";
    case DialogKind::kFile:
      return "file dialog \"" + title + "\" for \"" + file + "\"";
  }
  return "dialog";
}

DialogAnswer NoChoice(const DialogRequest& request) {
  DialogAnswer a;
  a.button = request.default_button;
  a.colour = request.colour;
  a.file = request.file;
  return a;
}

void DialogCall::Answer(DialogAnswer answer) {
  {
    std::lock_guard lock(mu_);
    if (answer_) return;
    answer_ = std::move(answer);
  }
  cv_.notify_all();
}

bool DialogCall::answered() const {
  std::lock_guard lock(mu_);
  return answer_.has_value();
}

DialogAnswer DialogCall::Wait() {
  std::unique_lock lock(mu_);
  cv_.wait(lock, [&] { return answer_.has_value(); });
  return *answer_;
}

}  // namespace rt
