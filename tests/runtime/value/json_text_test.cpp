#include "runtime/value/json_text.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(JsonTextTest, EscapesWhatJsonNeedsAndHighBytesAsAsked) {
  struct Case {
    std::string_view text;
    JsonBytes bytes;
    const char* literal;
  };
  const Case cases[] = {
      {"plain", JsonBytes::kUtf8, "\"plain\""},
      {"say \"hi\"\\", JsonBytes::kUtf8, "\"say \\\"hi\\\"\\\\\""},
      {"a\nb\tc\r\x01", JsonBytes::kUtf8, "\"a\\nb\\tc\\r\\u0001\""},
      {"caf\xC3\xA9", JsonBytes::kUtf8, "\"caf\xC3\xA9\""},          // UTF-8 passes through
      {"caf\xC3\xA9", JsonBytes::kLatin1, "\"caf\\u00c3\\u00a9\""},  // every byte its own
      {"\x7F\xFF", JsonBytes::kLatin1, "\"\\u007f\\u00ff\""},
      {std::string_view("\0", 1), JsonBytes::kLatin1, "\"\\u0000\""},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonQuote(c.text, c.bytes), c.literal) << c.literal;
}

}  // namespace
}  // namespace rt
