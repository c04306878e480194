#include "tools/twiqfile/record_json.h"

#include <cstdint>
#include <limits>

#include "runtime/keyfile/record.h"
#include "runtime/keyfile/text.h"

namespace twiqfile {

namespace kf = rt::keyfile;

std::string RecordToJson(const kf::FileDeclaration& declaration, std::span<const std::byte> record,
                         bool skip_uid) {
  std::string out = "{";
  bool first = true;
  for (const kf::Field& field : declaration.fields) {
    if (skip_uid && field.name == "UID") continue;
    if (!first) out += ",";
    first = false;
    out += JsonString(field.name);
    out += ":";
    if (field.type == kf::FieldType::kString) {
      out += JsonString(kf::ClipText(kf::ReadText(record, field)));
    } else {
      out += std::to_string(kf::ReadNumber(record, field));
    }
  }
  out += "}";
  return out;
}

namespace {

void NumberRange(kf::FieldType type, int64_t& low, int64_t& high) {
  switch (type) {
    case kf::FieldType::kByte:
      low = 0, high = 255;
      return;
    case kf::FieldType::kShort:
      low = INT16_MIN, high = INT16_MAX;
      return;
    case kf::FieldType::kUShort:
      low = 0, high = UINT16_MAX;
      return;
    case kf::FieldType::kLong:
      low = INT32_MIN, high = INT32_MAX;
      return;
    case kf::FieldType::kULong:
      low = 0, high = UINT32_MAX;
      return;
    case kf::FieldType::kString:
      low = high = 0;
      return;
  }
}

}  // namespace

bool RecordFromJson(const kf::FileDeclaration& declaration, const JsonValue& object,
                    std::span<std::byte> record, bool allow_uid, std::string& error) {
  if (object.kind != JsonValue::Kind::kObject) {
    error = "a record must be a JSON object";
    return false;
  }
  kf::ClearRecord(declaration, record);
  for (const auto& [name, value] : object.members) {
    const int index = declaration.FindField(name);
    if (index < 0) {
      error = "unknown field \"" + name + "\"";
      return false;
    }
    const kf::Field& field = declaration.fields[static_cast<size_t>(index)];
    if (field.name == "UID" && !allow_uid) {
      error = "field \"UID\" is given by the file, not by the import";
      return false;
    }
    if (field.type == kf::FieldType::kString) {
      if (value.kind != JsonValue::Kind::kString) {
        error = "field \"" + field.name + "\" must be a string";
        return false;
      }
      if (kf::ClipText(value.text).size() > kf::FieldWidth(field)) {
        error = "field \"" + field.name + "\" is longer than its " +
                std::to_string(kf::FieldWidth(field)) + " characters";
        return false;
      }
      kf::WriteText(record, field, value.text);
    } else {
      int64_t low, high;
      NumberRange(field.type, low, high);
      if (value.kind != JsonValue::Kind::kNumber || value.number < low || value.number > high) {
        error = "field \"" + field.name + "\" must be a whole number from " + std::to_string(low) +
                " to " + std::to_string(high);
        return false;
      }
      kf::WriteNumber(record, field, value.number);
    }
  }
  return true;
}

}  // namespace twiqfile
