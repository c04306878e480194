#include "runtime/keyfile/record.h"

#include <algorithm>
#include <cstring>

namespace rt::keyfile {

std::int64_t ReadNumber(std::span<const std::byte> record, const Field& field) {
  const std::size_t width = FieldWidth(field);
  std::uint64_t raw = 0;
  for (std::size_t i = 0; i < width && i < 8; ++i) {
    raw |= static_cast<std::uint64_t>(std::to_integer<unsigned>(record[field.offset + i]))
           << (8 * i);
  }
  switch (field.type) {
    case FieldType::kShort:
      return static_cast<std::int16_t>(raw);
    case FieldType::kLong:
      return static_cast<std::int32_t>(raw);
    default:
      return static_cast<std::int64_t>(raw);
  }
}

void WriteNumber(std::span<std::byte> record, const Field& field, std::int64_t value) {
  const std::size_t width = FieldWidth(field);
  const auto raw = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < width && i < 8; ++i) {
    record[field.offset + i] = static_cast<std::byte>((raw >> (8 * i)) & 0xff);
  }
}

std::string_view ReadText(std::span<const std::byte> record, const Field& field) {
  return std::string_view(reinterpret_cast<const char*>(record.data() + field.offset),
                          FieldWidth(field));
}

void WriteText(std::span<std::byte> record, const Field& field, std::string_view text) {
  const std::size_t width = FieldWidth(field);
  const std::size_t n = std::min(width, text.size());
  std::memcpy(record.data() + field.offset, text.data(), n);
  std::memset(record.data() + field.offset + n, ' ', width - n);
}

void ClearRecord(const FileDeclaration& declaration, std::span<std::byte> record) {
  std::fill(record.begin(), record.end(), std::byte{0});
  for (const Field& field : declaration.fields) {
    if (field.type == FieldType::kString) WriteText(record, field, "");
  }
}

}  // namespace rt::keyfile
