// rt::Value: a property or variable value that is either text or a number, converted on
// demand the way the runtime converts between them.
//
// Conversions (the same everywhere in the runtime):
// - Text to number: leading spaces are skipped, then an optional sign, digits, and an optional
//   '.' with more digits are read; anything after that numeric prefix is ignored. Text with no
//   numeric prefix (blank, "abc") is 0. "12abc" -> 12, " -3.5kg" -> -3.5, "1e3" -> 1.
// - Number to text: integers in plain decimal ("12", "-7"); other numbers in the shortest
//   fixed-point form that reads back to the same double ("12.5", "0.1"), never an exponent and
//   never a trailing ".0".
// - To an integer: decimals are truncated toward zero; out-of-range values saturate at the
//   int64_t limits.
//
// Numbers are kept as an exact int64_t when integral (so handles and codes never lose digits)
// and as a double otherwise. A double that holds an exact integer within +-2^53 is stored as
// an integer, so Value(5.0) == Value(5). Non-finite doubles (NaN, infinities) become 0.
//
// A default-constructed Value is empty text: it reads as "" and as 0.
// Value is a regular value type; distinct objects may be used from different threads.
#ifndef RUNTIME_VALUE_VALUE_H_
#define RUNTIME_VALUE_VALUE_H_

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "runtime/value/text.h"

namespace rt {

class Value {
 public:
  enum class Kind { kText, kInteger, kDecimal };

  Value() = default;
  Value(std::string text) : data_(std::move(text)) {}                // NOLINT: implicit by design
  Value(std::string_view text) : data_(std::string(text)) {}         // NOLINT
  Value(const char* text) : data_(std::string(text ? text : "")) {}  // NOLINT
  template <std::integral T>
  requires(!std::same_as<T, char>) Value(T number) : data_(ClampToInt64(number)) {}  // NOLINT
  Value(char) = delete;  // a character is text: write Value(std::string(1, c))
  Value(double number);  // NOLINT
  Value(float number) : Value(static_cast<double>(number)) {}  // NOLINT

  // The numeric value of `text` by the text-to-number rule above.
  static Value FromTextAsNumber(std::string_view text);

  Kind kind() const { return static_cast<Kind>(data_.index()); }
  bool is_text() const { return kind() == Kind::kText; }
  bool is_number() const { return !is_text(); }

  std::string AsText() const;
  double AsNumber() const;
  int64_t AsInt() const;

  // Same kind and same content: Value("5") != Value(5). Compare AsText() or AsNumber() to
  // compare across kinds.
  friend bool operator==(const Value&, const Value&) = default;

 private:
  template <std::integral T>
  static int64_t ClampToInt64(T n) {
    if constexpr (std::unsigned_integral<T> && sizeof(T) >= sizeof(int64_t)) {
      return n > static_cast<T>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(n);
    } else {
      return static_cast<int64_t>(n);
    }
  }

  // Alternatives in the order of Kind.
  std::variant<std::string, int64_t, double> data_;
};

// Number to text by the rule above.
std::string NumberToText(double number);
std::string NumberToText(int64_t number);

// Text to number by the rule above; the result is a numeric Value (kInteger or kDecimal).
inline Value TextToNumber(std::string_view text) { return Value::FromTextAsNumber(text); }

}  // namespace rt

#endif  // RUNTIME_VALUE_VALUE_H_
