#include "runtime/value/value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace rt {
namespace {

constexpr double kExactIntLimit = 9007199254740992.0;  // 2^53

// Holds `d` as an integer when it is one exactly and small enough to be exact in a double.
std::variant<std::string, int64_t, double> Normalize(double d) {
  if (!std::isfinite(d)) return int64_t{0};
  if (std::trunc(d) == d && std::fabs(d) <= kExactIntLimit) return static_cast<int64_t>(d);
  return d;
}

int64_t SaturatingTrunc(double d) {
  if (std::isnan(d)) return 0;
  // 2^63 is exactly representable; anything at or beyond it saturates.
  if (d >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
  if (d <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(d);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Value::Value(double number) {
  auto v = Normalize(number);
  if (std::holds_alternative<int64_t>(v)) {
    data_ = std::get<int64_t>(v);
  } else {
    data_ = std::get<double>(v);
  }
}

Value Value::FromTextAsNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  size_t int_begin = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  size_t int_end = i;
  size_t frac_begin = i, frac_end = i;
  if (i < text.size() && text[i] == '.') {
    frac_begin = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    frac_end = i;
  }
  if (int_begin == int_end && frac_begin == frac_end) return Value(int64_t{0});

  bool fraction_is_zero = true;
  for (size_t k = frac_begin; k < frac_end; ++k) fraction_is_zero &= text[k] == '0';
  if (fraction_is_zero) {
    // Integral: read the digits exactly, so long codes and handles keep every digit.
    int64_t magnitude = 0;
    auto [ptr, ec] = std::from_chars(text.data() + int_begin, text.data() + int_end, magnitude);
    (void)ptr;
    if (ec == std::errc()) return Value(negative ? -magnitude : magnitude);
    if (int_begin == int_end) return Value(int64_t{0});
    // Beyond int64_t: fall through to the double reading.
  }
  // from_chars does not accept a leading '+'; hand it the digits and apply the sign here.
  std::string digits(text.substr(int_begin, i - int_begin));
  if (int_begin == int_end) digits.insert(0, "0");
  double d = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), d, std::chars_format::fixed);
  return Value(negative ? -d : d);
}

std::string NumberToText(int64_t number) { return std::to_string(number); }

std::string NumberToText(double number) {
  auto v = Normalize(number);
  if (std::holds_alternative<int64_t>(v)) return NumberToText(std::get<int64_t>(v));
  // Fixed notation of a finite double needs at most ~330 characters (1e308, or 2^-1074 with
  // its significant digits); the buffer leaves room for all of them.
  char buffer[400];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(v), std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  return std::string(buffer, end);
}

std::string Value::AsText() const {
  switch (kind()) {
    case Kind::kText:
      return std::get<std::string>(data_);
    case Kind::kInteger:
      return NumberToText(std::get<int64_t>(data_));
    case Kind::kDecimal:
      return NumberToText(std::get<double>(data_));
  }
  return std::string();
}

double Value::AsNumber() const {
  switch (kind()) {
    case Kind::kText:
      return FromTextAsNumber(std::get<std::string>(data_)).AsNumber();
    case Kind::kInteger:
      return static_cast<double>(std::get<int64_t>(data_));
    case Kind::kDecimal:
      return std::get<double>(data_);
  }
  return 0;
}

int64_t Value::AsInt() const {
  switch (kind()) {
    case Kind::kText:
      return FromTextAsNumber(std::get<std::string>(data_)).AsInt();
    case Kind::kInteger:
      return std::get<int64_t>(data_);
    case Kind::kDecimal:
      return SaturatingTrunc(std::get<double>(data_));
  }
  return 0;
}

}  // namespace rt
