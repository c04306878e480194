// Settings records as JSON objects: one member per field, named as the declaration names it
// ("UID", "PROCEDURENAME", ...), in record order. Text is written without its trailing
// spaces; numbers as JSON integers.
#ifndef TOOLS_TWIQFILE_RECORD_JSON_H_
#define TOOLS_TWIQFILE_RECORD_JSON_H_

#include <cstddef>
#include <span>
#include <string>

#include "runtime/keyfile/declaration.h"
#include "tools/twiqfile/json.h"

namespace twiqfile {

// The record as one line of JSON. `skip_uid` leaves the UID out (exports: an import gives
// new UIDs).
std::string RecordToJson(const rt::keyfile::FileDeclaration& declaration,
                         std::span<const std::byte> record, bool skip_uid = false);

// Clears `record` and fills it from `object`. Members may be left out (they stay clear);
// an unknown member, a value of the wrong kind, text longer than its field or a number out
// of its field's range is an error, reported in `error` with the member's name. "UID" is
// refused when `allow_uid` is false.
bool RecordFromJson(const rt::keyfile::FileDeclaration& declaration, const JsonValue& object,
                    std::span<std::byte> record, bool allow_uid, std::string& error);

}  // namespace twiqfile

#endif  // TOOLS_TWIQFILE_RECORD_JSON_H_
