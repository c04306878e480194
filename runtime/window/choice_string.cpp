#include "runtime/window/choice_string.h"

namespace rt {
namespace {

// A plain decimal number: optional '-', digits, optionally '.' and more digits.
bool IsPlainNumber(std::string_view s) {
  size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
  size_t digits = 0;
  bool dot = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      ++digits;
    } else if (s[i] == '.' && !dot) {
      dot = true;
    } else {
      return false;
    }
  }
  return digits > 0 && s.back() != '.';
}

Status Bad(std::string_view text, const std::string& why) {
  return Status::InvalidArgument("malformed choice string \"" + std::string(text) + "\": " + why);
}

}  // namespace

Status ParseChoiceString(std::string_view text, std::vector<ChoiceItem>* out) {
  std::vector<ChoiceItem> items;
  if (!text.empty() && text.back() == '|') text.remove_suffix(1);
  if (text.empty()) {
    if (out) out->clear();
    return Status::Ok();
  }
  size_t with_values = 0;
  for (size_t start = 0;;) {
    const size_t bar = text.find('|', start);
    const std::string_view token =
        text.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    if (!token.empty() && token[0] == '#') {
      const std::string_view value = token.substr(1);
      if (items.empty() || items.back().value) {
        return Bad(text, "value #" + std::string(value) + " follows no item");
      }
      if (value.empty()) return Bad(text, "empty value after # for item " + items.back().text);
      items.back().value = IsPlainNumber(value) ? TextToNumber(value) : Value(value);
      ++with_values;
    } else {
      items.push_back({std::string(token), std::nullopt});
    }
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  if (with_values != 0 && with_values != items.size()) {
    for (const ChoiceItem& item : items) {
      if (!item.value) return Bad(text, "item \"" + item.text + "\" has no value, others have");
    }
  }
  if (out) *out = std::move(items);
  return Status::Ok();
}

std::string JoinChoiceTexts(const std::vector<ChoiceItem>& items) {
  std::string joined;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) joined += '|';
    joined += items[i].text;
  }
  return joined;
}

}  // namespace rt
