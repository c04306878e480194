// Internal to the driver: the opaque position strings that File::Position()
// and View::Position() hand out, and the key values they carry.
//
// A position names a record by its rowid and, for a key order, the key values
// the record had, so that resetting to a position works even after the record
// was deleted (the sequence resumes where it stood). The encoding is printable
// ASCII apart from the key texts, self-delimiting (a caller may keep it in a
// space-padded fixed field; the padding is ignored) and equal for equal
// records, so callers may compare positions as text.
//
//   key order:  "K" key "." rowid "." count "." component...
//   view:       "V" key "." rowid "." count "." component...
//   file order: "F." rowid "."
//   component:  "s" length ":" bytes   (text, trailing spaces removed)
//             | "n" number ";"         (number)

#ifndef RUNTIME_KEYFILE_POSITION_H_
#define RUNTIME_KEYFILE_POSITION_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rt::keyfile {

// One key component's value: a number, or text without its trailing spaces.
using KeyValue = std::variant<std::int64_t, std::string>;

// The most bytes a position may take.
inline constexpr std::size_t kMaxKeyPosition = 512;
inline constexpr std::size_t kMaxViewPosition = 1024;

struct PositionValue {
  enum class Kind { kKey, kView, kFileOrder };
  Kind kind = Kind::kFileOrder;
  int key = -1;                  // Key index for kKey and kView.
  std::int64_t rowid = 0;        // 0: no record (a key value only).
  std::vector<KeyValue> values;  // Key component values for kKey and kView.
};

std::string EncodePosition(const PositionValue& position);
// Decodes the start of `text`; nullopt when it is not a position.
std::optional<PositionValue> DecodePosition(std::string_view text);

// The longest encoding a key of components with these widths (0 for numbers)
// can produce.
std::size_t MaxEncodedLength(const std::vector<std::size_t>& text_widths);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_POSITION_H_
