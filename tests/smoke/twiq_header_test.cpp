#include <gtest/gtest.h>

#include <cstddef>

#include "twiq/twiq.h"

TEST(TwiqHeader, SettingsGroupLayout) {
  EXPECT_EQ(sizeof(TWIQSETTINGS), 388u);
  EXPECT_EQ(offsetof(TWIQSETTINGS, PASSWORD), 256u);
  EXPECT_EQ(offsetof(TWIQSETTINGS, PROMPTONEXIT), 384u);
}
