// Text as a JSON string literal, for the runtime's state dumps and the tools' exports.
#ifndef RUNTIME_VALUE_JSON_TEXT_H_
#define RUNTIME_VALUE_JSON_TEXT_H_

#include <string>
#include <string_view>

namespace rt {

// What the bytes of a text are.
enum class JsonBytes {
  kUtf8,    // UTF-8: bytes from 80h up pass through unchanged
  kLatin1,  // 8-bit text of any encoding: each byte from 7Fh up is written as \u00XX (read as
            // Latin-1), so the literal is plain ASCII and gives the same bytes back
};

// `text` as a JSON string literal, quotes included: quote, backslash and control characters
// escaped (\n, \r, \t by name, the others as \u00XX).
std::string JsonQuote(std::string_view text, JsonBytes bytes = JsonBytes::kUtf8);

}  // namespace rt

#endif  // RUNTIME_VALUE_JSON_TEXT_H_
