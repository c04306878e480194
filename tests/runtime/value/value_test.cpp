#include "runtime/value/value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace rt {
namespace {

struct TextCase {
  const char* text;
  double number;
  int64_t integer;
};

// Text read as a number: the numeric prefix counts, the rest is ignored.
constexpr TextCase kTextCases[] = {
    {"", 0, 0},
    {"   ", 0, 0},
    {"abc", 0, 0},
    {"12", 12, 12},
    {"12abc", 12, 12},
    {"  42  ", 42, 42},
    {"+7", 7, 7},
    {"-3.5kg", -3.5, -3},
    {"-.5", -0.5, 0},
    {".25", 0.25, 0},
    {"12.", 12, 12},
    {"12.00", 12, 12},
    {"1e3", 1, 1},
    {"1,234", 1, 1},
    {"-", 0, 0},
    {".", 0, 0},
    {"- 5", 0, 0},
    {"\t5", 0, 0},
    {"007", 7, 7},
    {"9007199254740993", 9007199254740992.0, 9007199254740993},  // exact as an integer
    {"9223372036854775807", 9223372036854775807.0, std::numeric_limits<int64_t>::max()},
    {"99999999999999999999", 1e20, std::numeric_limits<int64_t>::max()},
    {"-99999999999999999999", -1e20, std::numeric_limits<int64_t>::min()},
};

TEST(ValueTest, TextToNumber) {
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(std::string("text \"") + c.text + "\"");
    Value v(c.text);
    EXPECT_TRUE(v.is_text());
    EXPECT_EQ(v.AsText(), c.text);
    EXPECT_DOUBLE_EQ(v.AsNumber(), c.number);
    EXPECT_EQ(v.AsInt(), c.integer);
    EXPECT_TRUE(TextToNumber(c.text).is_number());
  }
}

struct NumberCase {
  Value value;
  const char* text;
  int64_t integer;
  Value::Kind kind;
};

TEST(ValueTest, NumberToText) {
  const NumberCase cases[] = {
      {Value(0), "0", 0, Value::Kind::kInteger},
      {Value(12), "12", 12, Value::Kind::kInteger},
      {Value(-7), "-7", -7, Value::Kind::kInteger},
      {Value(12.0), "12", 12, Value::Kind::kInteger},
      {Value(-0.0), "0", 0, Value::Kind::kInteger},
      {Value(12.5), "12.5", 12, Value::Kind::kDecimal},
      {Value(-12.5), "-12.5", -12, Value::Kind::kDecimal},
      {Value(0.1), "0.1", 0, Value::Kind::kDecimal},
      {Value(8.25f), "8.25", 8, Value::Kind::kDecimal},
      {Value(1e20), "100000000000000000000", std::numeric_limits<int64_t>::max(),
       Value::Kind::kDecimal},
      {Value(1e-7), "0.0000001", 0, Value::Kind::kDecimal},
      {Value(std::numeric_limits<double>::quiet_NaN()), "0", 0, Value::Kind::kInteger},
      {Value(std::numeric_limits<double>::infinity()), "0", 0, Value::Kind::kInteger},
      {Value(int64_t{9007199254740993}), "9007199254740993", 9007199254740993,
       Value::Kind::kInteger},
      {Value(std::numeric_limits<uint64_t>::max()), "9223372036854775807",
       std::numeric_limits<int64_t>::max(), Value::Kind::kInteger},
      {Value(true), "1", 1, Value::Kind::kInteger},
      {Value(0x7C1Eu), "31774", 0x7C1E, Value::Kind::kInteger},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(std::string("expected text ") + c.text);
    EXPECT_EQ(c.value.kind(), c.kind);
    EXPECT_EQ(c.value.AsText(), c.text);
    EXPECT_EQ(c.value.AsInt(), c.integer);
    // Number -> text -> number gives the number back.
    EXPECT_EQ(Value(c.value.AsText()).AsNumber(), c.value.AsNumber());
  }
}

TEST(ValueTest, DefaultIsEmptyTextAndZero) {
  Value v;
  EXPECT_TRUE(v.is_text());
  EXPECT_EQ(v.AsText(), "");
  EXPECT_EQ(v.AsInt(), 0);
  EXPECT_EQ(v, Value(""));
}

TEST(ValueTest, EqualityIsByKindAndContent) {
  EXPECT_EQ(Value(5), Value(5.0));
  EXPECT_NE(Value(5), Value("5"));
  EXPECT_NE(Value(5), Value(5.5));
  EXPECT_EQ(Value(std::string("a b")), Value("a b"));
}

struct CompareCase {
  const char* a;
  const char* b;
  int clip_compare;       // sign of ClipCompare
  int clip_compare_case;  // sign of ClipCompareCase
};

// clang-format off
constexpr CompareCase kCompareCases[] = {
    {"", "", 0, 0},
    {"", "   ", 0, 0},
    {"abc", "ABC  ", 0, 1},
    {"abc", "abd", -1, -1},
    {"ab", "abc", -1, -1},
    {"ab c", "ab", 1, 1},
    {" ab", "ab", -1, -1},     // leading spaces count
    {"a\t", "a", 1, 1},        // only spaces are padding
    {"Zed", "apple", 1, -1},
    {"\xe9", "z", 1, 1},       // bytes above 7Fh sort after ASCII
    {"\xe9", "\xc9", 1, 1},    // and are not folded
    {"_", "a", 1, -1},         // '_' (5Fh) is above 'A' folded, below 'a' unfolded
};
// clang-format on

int Sign(int x) { return (x > 0) - (x < 0); }

TEST(TextTest, ClipCompare) {
  for (const CompareCase& c : kCompareCases) {
    SCOPED_TRACE(std::string("\"") + c.a + "\" vs \"" + c.b + "\"");
    EXPECT_EQ(Sign(ClipCompare(c.a, c.b)), c.clip_compare);
    EXPECT_EQ(Sign(ClipCompare(c.b, c.a)), -c.clip_compare);
    EXPECT_EQ(Sign(ClipCompareCase(c.a, c.b)), c.clip_compare_case);
    EXPECT_EQ(ClipEquals(c.a, c.b), c.clip_compare == 0);
    // The documented equivalence with Upper(Clip(...)).
    EXPECT_EQ(Sign(Upper(Clip(c.a)).compare(Upper(Clip(c.b)))), c.clip_compare);
  }
}

TEST(TextTest, ClipUpperBlank) {
  EXPECT_EQ(Clip("ab  "), "ab");
  EXPECT_EQ(Clip("  "), "");
  EXPECT_EQ(Clip(" a b "), " a b");
  EXPECT_EQ(Upper("MixEd 1\xe9z"), "MIXED 1\xe9Z");
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("   "));
  EXPECT_FALSE(IsBlank(" x "));
}

}  // namespace
}  // namespace rt
