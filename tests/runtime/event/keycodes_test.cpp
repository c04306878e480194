#include "runtime/event/keycodes.h"

#include <gtest/gtest.h>

namespace rt::key {
namespace {

TEST(KeycodesTest, NamesReadAsTheKeycodesTheSystemUses) {
  struct Case {
    const char* name;
    int code;
  };
  const Case cases[] = {
      {"Ctrl+Alt+D", 0x644}, {"alt+ctrl+d", 0x644}, {"Ctrl+H", 0x248},    {"Ctrl+Enter", 0x20D},
      {"F8", 0x77},          {"F9", 0x78},          {"F10", 0x79},        {"Esc", 0x1B},
      {"Insert", 0x2D},      {"Delete", 0x2E},      {"Context", 0x5D},    {"Left", 0x25},
      {"Down", 0x28},        {"Shift+Tab", 0x109},  {"MouseRight", 0x02}, {"MouseLeftDouble", 0x05},
      {"0x644", 0x644},      {"1604", 0x644},       {"7", 0x37},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyCodeFromName(c.name), c.code) << c.name;
    // The name written for a code reads back as the same code.
    EXPECT_EQ(KeyCodeFromName(KeyCodeName(c.code)), c.code) << KeyCodeName(c.code);
  }
  EXPECT_EQ(KeyCodeName(0x644), "Ctrl+Alt+D");
  for (const char* bad : {"", "Ctrl+", "+", "F13", "F0", "Hyper+A", "0x10000", "AB", "Ctrl++"}) {
    EXPECT_EQ(KeyCodeFromName(bad), std::nullopt) << bad;
  }
}

TEST(KeycodesTest, CharactersTypeWithTheirKeys) {
  EXPECT_EQ(KeyCodeForChar('d'), 0x44);
  EXPECT_EQ(KeyCodeForChar('D'), kShift | 0x44);
  EXPECT_EQ(KeyCodeForChar('5'), 0x35);
  EXPECT_EQ(KeyCodeForChar('\n'), kEnter);
  EXPECT_EQ(KeyCodeForChar('%'), 0) << "a character without a key of its own";
}

}  // namespace
}  // namespace rt::key
