#include "runtime/keyfile/position.h"

#include <charconv>

namespace rt::keyfile {
namespace {

constexpr std::size_t kMaxNumberDigits = 20;  // "-9223372036854775808"

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Char(char c) {
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  std::optional<char> AnyChar() {
    if (pos_ >= text_.size()) return std::nullopt;
    return text_[pos_++];
  }
  std::optional<std::int64_t> Number(char terminator) {
    std::int64_t value = 0;
    const char* begin = text_.data() + pos_;
    const char* end = text_.data() + text_.size();
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr == begin) return std::nullopt;
    pos_ += static_cast<std::size_t>(ptr - begin);
    if (!Char(terminator)) return std::nullopt;
    return value;
  }
  std::optional<std::string_view> Bytes(std::size_t n) {
    if (text_.size() - pos_ < n) return std::nullopt;
    std::string_view out = text_.substr(pos_, n);
    pos_ += n;
    return out;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string EncodePosition(const PositionValue& position) {
  std::string out;
  if (position.kind == PositionValue::Kind::kFileOrder) {
    out = "F." + std::to_string(position.rowid) + ".";
    return out;
  }
  out += position.kind == PositionValue::Kind::kKey ? 'K' : 'V';
  out += std::to_string(position.key) + "." + std::to_string(position.rowid) + "." +
         std::to_string(position.values.size()) + ".";
  for (const KeyValue& value : position.values) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
      out += "n" + std::to_string(*number) + ";";
    } else {
      const std::string& text = std::get<std::string>(value);
      out += "s" + std::to_string(text.size()) + ":" + text;
    }
  }
  return out;
}

std::optional<PositionValue> DecodePosition(std::string_view text) {
  Reader reader(text);
  PositionValue position;
  std::optional<char> tag = reader.AnyChar();
  if (!tag) return std::nullopt;
  if (*tag == 'F') {
    if (!reader.Char('.')) return std::nullopt;
    std::optional<std::int64_t> rowid = reader.Number('.');
    if (!rowid) return std::nullopt;
    position.kind = PositionValue::Kind::kFileOrder;
    position.rowid = *rowid;
    return position;
  }
  if (*tag != 'K' && *tag != 'V') return std::nullopt;
  position.kind = *tag == 'K' ? PositionValue::Kind::kKey : PositionValue::Kind::kView;
  std::optional<std::int64_t> key = reader.Number('.');
  std::optional<std::int64_t> rowid = key ? reader.Number('.') : std::nullopt;
  std::optional<std::int64_t> count = rowid ? reader.Number('.') : std::nullopt;
  if (!count || *key < 0 || *key > 1000 || *count < 0 || *count > 64) return std::nullopt;
  position.key = static_cast<int>(*key);
  position.rowid = *rowid;
  for (std::int64_t i = 0; i < *count; ++i) {
    std::optional<char> kind = reader.AnyChar();
    if (kind == 'n') {
      std::optional<std::int64_t> number = reader.Number(';');
      if (!number) return std::nullopt;
      position.values.emplace_back(*number);
    } else if (kind == 's') {
      std::optional<std::int64_t> length = reader.Number(':');
      if (!length || *length < 0) return std::nullopt;
      std::optional<std::string_view> bytes = reader.Bytes(static_cast<std::size_t>(*length));
      if (!bytes) return std::nullopt;
      position.values.emplace_back(std::string(*bytes));
    } else {
      return std::nullopt;
    }
  }
  return position;
}

std::size_t MaxEncodedLength(const std::vector<std::size_t>& text_widths) {
  // Tag, key number, rowid, count and their separators.
  std::size_t length = 1 + 4 + 1 + kMaxNumberDigits + 1 + 3 + 1;
  for (std::size_t width : text_widths) {
    length += width == 0 ? 2 + kMaxNumberDigits : 2 + std::to_string(width).size() + width;
  }
  return length;
}

}  // namespace rt::keyfile
