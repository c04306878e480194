// rt::QueueKey<Row>: one component of a queue's key or sort order, made from a member
// pointer (or a plain comparison function) and a direction.
//
// How fields compare:
// - Fixed text (char[N], std::array<char, N>, and types with a `view()` member or a conversion
//   to std::string_view, such as fixed-width string types): the text up to the first NUL
//   byte, with trailing spaces ignored, so a space-padded field and a zero-terminated one
//   holding the same word are equal. Case-sensitive by default (bytes as unsigned);
//   TextCase::kInsensitive folds ASCII letters (see runtime/value/text.h).
// - Floating point: numeric order, NaN after every number and equal to NaN, so any row
//   content gives a consistent order.
// - Other fields (integers, enums, types with operator<): operator<.
// TextCase has no effect on fields that are not text.
//
// A QueueKey is a small value (no allocation); it stays valid as long as the comparison
// function it was made from, i.e. always for member pointers and free functions.
#ifndef RUNTIME_QUEUE_QUEUE_KEY_H_
#define RUNTIME_QUEUE_QUEUE_KEY_H_

#include <array>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "runtime/value/text.h"

namespace rt {

enum class SortOrder { kAscending, kDescending };
enum class TextCase { kSensitive, kInsensitive };

namespace queue_internal {

template <class T>
concept HasView = requires(const T& t) {
  { t.view() } -> std::convertible_to<std::string_view>;
};

template <class T>
concept TextLike = HasView<T> || std::is_convertible_v<const T&, std::string_view>;

// The text of a fixed-width character field: its bytes up to the first NUL.
inline std::string_view FixedText(const char* data, size_t width) {
  const void* nul = std::memchr(data, '\0', width);
  return std::string_view(data, nul ? static_cast<const char*>(nul) - data : width);
}

inline int CompareText(std::string_view a, std::string_view b, TextCase text_case) {
  return text_case == TextCase::kInsensitive ? ClipCompare(a, b) : ClipCompareCase(a, b);
}

template <class Field>
int CompareField(const Field& a, const Field& b, TextCase text_case) {
  if constexpr (std::is_array_v<Field>) {
    static_assert(std::is_same_v<std::remove_cv_t<std::remove_extent_t<Field>>, char>,
                  "only char arrays can be queue key fields; use a comparison function");
    constexpr size_t kWidth = std::extent_v<Field>;
    return CompareText(FixedText(a, kWidth), FixedText(b, kWidth), text_case);
  } else if constexpr (std::is_same_v<Field, std::array<char, sizeof(Field)>>) {
    return CompareText(FixedText(a.data(), a.size()), FixedText(b.data(), b.size()), text_case);
  } else if constexpr (HasView<Field>) {
    return CompareText(a.view(), b.view(), text_case);
  } else if constexpr (TextLike<Field>) {
    return CompareText(std::string_view(a), std::string_view(b), text_case);
  } else if constexpr (std::is_floating_point_v<Field>) {
    bool a_nan = std::isnan(a), b_nan = std::isnan(b);
    if (a_nan || b_nan) return static_cast<int>(a_nan) - static_cast<int>(b_nan);
    return (b < a) - (a < b);
  } else {
    return (b < a) - (a < b);
  }
}

}  // namespace queue_internal

template <class Row>
class QueueKey {
 public:
  // A comparison of two rows: <0, 0 or >0, in ascending order.
  using CompareFunction = int (*)(const Row& a, const Row& b);

  template <class Field>
  QueueKey(Field Row::*member, SortOrder order = SortOrder::kAscending,  // NOLINT: implicit
           TextCase text_case = TextCase::kSensitive)
      : thunk_(&CompareMember<Field>), order_(order), text_case_(text_case) {
    static_assert(sizeof(member) <= sizeof(storage_.member));
    std::memcpy(storage_.member, &member, sizeof(member));
  }

  QueueKey(CompareFunction compare, SortOrder order = SortOrder::kAscending)  // NOLINT
      : thunk_(&CallFunction), order_(order) {
    storage_.function = compare;
  }

  // <0, 0 or >0: a before, equal to or after b in this key's order (direction applied).
  int Compare(const Row& a, const Row& b) const {
    int c = thunk_(*this, a, b);
    return order_ == SortOrder::kDescending ? -c : c;
  }

  // True when a and b have the same value for this key (direction plays no part).
  bool Equal(const Row& a, const Row& b) const { return thunk_(*this, a, b) == 0; }

  SortOrder order() const { return order_; }

 private:
  using Thunk = int (*)(const QueueKey& key, const Row& a, const Row& b);

  template <class Field>
  static int CompareMember(const QueueKey& key, const Row& a, const Row& b) {
    Field Row::*member;
    std::memcpy(&member, key.storage_.member, sizeof(member));
    return queue_internal::CompareField<Field>(a.*member, b.*member, key.text_case_);
  }

  static int CallFunction(const QueueKey& key, const Row& a, const Row& b) {
    int c = key.storage_.function(a, b);
    return (c > 0) - (c < 0);
  }

  union Storage {
    CompareFunction function;
    alignas(std::max_align_t) unsigned char member[sizeof(std::max_align_t)];
  };

  Thunk thunk_;
  Storage storage_{};
  SortOrder order_;
  TextCase text_case_ = TextCase::kSensitive;
};

}  // namespace rt

#endif  // RUNTIME_QUEUE_QUEUE_KEY_H_
