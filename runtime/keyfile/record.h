// Reading and writing the fields of a record image (declaration.h) in place.
//
// REQUIRES for every function: `record` spans at least field.offset + width
// bytes (FileDeclaration::Validate() guarantees it for records of the declared
// length). Thread-safe: pure functions on caller-owned memory.

#ifndef RUNTIME_KEYFILE_RECORD_H_
#define RUNTIME_KEYFILE_RECORD_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/keyfile/declaration.h"

namespace rt::keyfile {

// The value of a numeric field (kByte .. kULong), sign-extended for signed types.
std::int64_t ReadNumber(std::span<const std::byte> record, const Field& field);
// Stores `value` truncated to the field's width.
void WriteNumber(std::span<std::byte> record, const Field& field, std::int64_t value);

// The bytes of a kString field, trailing spaces included.
std::string_view ReadText(std::span<const std::byte> record, const Field& field);
// Stores `text` cut or space-padded to the field's width.
void WriteText(std::span<std::byte> record, const Field& field, std::string_view text);

// Clears a record as the system defines clearing: every kString field to
// spaces, every other byte to 0.
void ClearRecord(const FileDeclaration& declaration, std::span<std::byte> record);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_RECORD_H_
