// Just enough JSON for settings records: writing 8-bit text as JSON strings, and parsing the
// documents that twiqfile exports.
//
// Text fields hold 8-bit bytes, not necessarily UTF-8. They are written with every byte from
// 80h up as \u00XX (the byte read as Latin-1), so any record survives a round trip and the
// output is plain ASCII. When parsing, \u00XX and UTF-8 characters up to U+00FF become the
// single byte; a character above U+00FF cannot be stored in a text field and is an error.
#ifndef TOOLS_TWIQFILE_JSON_H_
#define TOOLS_TWIQFILE_JSON_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace twiqfile {

// `text` as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  int64_t number = 0;  // integers only
  std::string text;    // bytes, see above
  std::vector<JsonValue> items;
  // Members in document order (names unique: a repeated name is a parse error).
  std::vector<std::pair<std::string, JsonValue>> members;

  const JsonValue* Find(std::string_view name) const;
};

// Parses a whole document. On failure returns false and sets `error` to a message with the
// line and column ("line 3, column 14: expected ':'").
bool ParseJson(std::string_view document, JsonValue& out, std::string& error);

}  // namespace twiqfile

#endif  // TOOLS_TWIQFILE_JSON_H_
