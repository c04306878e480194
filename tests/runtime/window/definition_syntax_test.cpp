// The texts inside window definitions: choice strings, list formats and pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/window/choice_string.h"
#include "runtime/window/list_format.h"
#include "runtime/window/picture.h"

namespace rt {
namespace {

struct ChoiceCase {
  const char* text;
  std::vector<ChoiceItem> items;
};

TEST(ChoiceStringTest, ItemsAndTheirValues) {
  const ChoiceCase cases[] = {
      {"", {}},
      {"|", {}},
      {"8|9|10", {{"8", {}}, {"9", {}}, {"10", {}}}},
      {"Default|#0|Left to Right|#1|Right to Left|#2",
       {{"Default", 0}, {"Left to Right", 1}, {"Right to Left", 2}}},
      {"Single|#0|Double|#1|", {{"Single", 0}, {"Double", 1}}},
      {"ANSI|#0|MAC|#77|Minus|#-5|Half|#0.5",
       {{"ANSI", 0}, {"MAC", 77}, {"Minus", -5}, {"Half", 0.5}}},
      {"On|#Y|Off|#N", {{"On", "Y"}, {"Off", "N"}}},    // values need not be numbers
      {"One|#1.|Two|#2", {{"One", "1."}, {"Two", 2}}},  // "1." is no plain number
      {"a||b", {{"a", {}}, {"", {}}, {"b", {}}}},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<ChoiceItem> items{{"stale", {}}};
    ASSERT_TRUE(ParseChoiceString(c.text, &items).ok());
    EXPECT_EQ(items, c.items);
  }
  std::vector<ChoiceItem> items;
  ASSERT_TRUE(ParseChoiceString("Default|#0|Left|#1", &items).ok());
  EXPECT_EQ(JoinChoiceTexts(items), "Default|Left");
}

TEST(ChoiceStringTest, MalformedStringsAreRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"#0|Default", "follows no item"}, {"A|#1|#2", "follows no item"},   {"A|#", "empty value"},
      {"A|#1|B", "\"B\" has no value"},  {"A|B|#2", "\"A\" has no value"},
  };
  for (const auto& [text, why] : cases) {
    SCOPED_TRACE(text);
    std::vector<ChoiceItem> items{{"kept", {}}};
    const Status st = ParseChoiceString(text, &items);
    EXPECT_EQ(st.code(), Status::Code::kInvalidArgument);
    EXPECT_NE(st.message().find(why), std::string::npos) << st.message();
    EXPECT_NE(st.message().find(text), std::string::npos) << st.message();
    EXPECT_EQ(items.size(), 1u);  // untouched on failure
  }
}

TEST(ListFormatTest, Columns) {
  struct Case {
    const char* format;
    std::vector<ListColumn> columns;
  } const cases[] = {
      {"", {}},
      {"320L(2)|M@s80@", {{320, 'L', 2, "", 0, 0, "@s80", true, true, ""}}},
      {"1020L(2)|M~Text Text~@s255@", {{1020, 'L', 2, "Text Text", 0, 0, "@s255", true, true, ""}}},
      {"80L(2)|M~Label~@s80@92L(2)|M~Description~@s100@",
       {{80, 'L', 2, "Label", 0, 0, "@s80", true, true, ""},
        {92, 'L', 2, "Description", 0, 0, "@s100", true, true, ""}}},
      {"40r(-1)~Amount~C(3)_Y@n-10.2@",
       {{40, 'R', -1, "Amount", 'C', 3, "@n-10.2", false, false, "_Y"}}},
      {"20D~~@n8@", {{20, 'D', 0, "", 0, 0, "@n8", false, false, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    std::vector<ListColumn> columns;
    ASSERT_TRUE(ParseListFormat(c.format, &columns).ok());
    EXPECT_EQ(columns, c.columns);
  }
}

TEST(ListFormatTest, MalformedFormatsAreRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"L(2)|M~Text~@s255@", "starts with its width"},
      {"80X(2)@s80@", "justification"},
      {"80L(2|M@s80@", "unclosed indent"},
      {"80L()@s80@", "indent needs a number"},
      {"80L(2)|M~Text@s80@", "unterminated ~header~"},
      {"80L(2)|M~Text~@s80", "unterminated @picture@"},
      {"80L(2)|M~Text~", "no @picture@"},
      {"80L(2)|Q@s80@", "unknown column modifier 'Q'"},
      {"80L~A~~B~@s8@", "second ~header~"},
      {"80L@x80@", "unknown picture type"},
      {"80L@s80@40", "justification"},  // a second column cut short
  };
  for (const auto& [format, why] : cases) {
    SCOPED_TRACE(format);
    const Status st = ParseListFormat(format, nullptr);
    EXPECT_EQ(st.code(), Status::Code::kInvalidArgument);
    EXPECT_NE(st.message().find(why), std::string::npos) << st.message();
  }
}

TEST(PictureTest, TypesAndWidths) {
  const std::tuple<const char*, char, int> good[] = {
      {"@s20", 'S', 20},    {"@S255", 'S', 255},      {"@n8", 'N', 8},        {"@N-10.2", 'N', 10},
      {"@n$10.2", 'N', 10}, {"@n10.2~ kg~", 'N', 10}, {"@e12.4", 'E', 12},    {"@d6", 'D', 6},
      {"@D17-B", 'D', 17},  {"@t4", 'T', 4},          {"@p##-####p", 'P', 7}, {"@K###K", 'K', 3},
  };
  for (const auto& [text, type, width] : good) {
    SCOPED_TRACE(text);
    Picture p;
    ASSERT_TRUE(ParsePicture(text, &p).ok());
    EXPECT_EQ(p.type, type);
    EXPECT_EQ(p.width, width);
  }
  const char* const bad[] = {"",     "s20",   "@",  "@s",   "@s0",  "@s20x", "@n",
                             "@n8@", "@n8~x", "@d", "@d6x", "@p##", "@x20",  "@k#p"};
  for (const char* text : bad) {
    const Status st = ParsePicture(text, nullptr);
    EXPECT_EQ(st.code(), Status::Code::kInvalidArgument) << text;
    EXPECT_NE(st.message().find("malformed picture"), std::string::npos) << st.message();
  }
}

}  // namespace
}  // namespace rt
