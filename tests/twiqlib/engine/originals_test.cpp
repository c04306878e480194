#include "twiqlib/engine/originals.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/program/halt.h"
#include "runtime/window/property_codes.h"
#include "twiqlib/engine/apply.h"
#include "window_test_fixture.h"

namespace twiq {
namespace {

namespace prop = rt::prop;
namespace kf = rt::keyfile;
using testing::kProcedure;

// The Control Window with its originals taken and ?PROMPT1 customised in the FLAT variant.
class ResetToOriginalTest : public testing::ControlWindowTest {
 protected:
  void SetUp() override {
    ControlWindowTest::SetUp();
    window_ = &Open();
    Customise(*window_);
    WinRecord r = Customised(*window_, "?PROMPT1", 7);
    r.feq = 9;
    r.control_text = "Custom";
    r.description = "Mine";
    r.x = 100;
    r.width = 80;
    r.justification = 3;
    uid_ = Add(r);
    Customise(*window_);
    ASSERT_EQ(window_->Get(9, prop::kText).AsText(), "Custom");
  }

  rt::Window* window_ = nullptr;
  uint32_t uid_ = 0;
};

TEST_F(ResetToOriginalTest, KeepsIdentityAndOrderAndCopiesEverythingElse) {
  ASSERT_TRUE(ResetToOriginal("flat", "?PROMPT1", "main"));
  const WinRecord stored = Find(kProcedure, "FLAT", "?PROMPT1");
  WinRecord expected = Find(kProcedure, "TWIQ_ORIGINAL", "?PROMPT1");
  expected.uid = uid_;
  expected.unique_marker = "FLAT";
  expected.feq = 9;
  expected.order = 7;
  EXPECT_TRUE(SameRecord(stored, expected));
  EXPECT_EQ(stored.description, "PROMPT1");
  EXPECT_TRUE(SameRecord(Store().win, stored)) << "the buffer holds the reset record";
  // What both callers do next.
  ApplyControl(*window_, Store().win.feq);
  EXPECT_EQ(window_->Get(9, prop::kText).AsText(), "Prompt 1");
  EXPECT_EQ(window_->Get(9, prop::kXPos).AsInt(), 198);
  EXPECT_EQ(window_->Get(9, prop::kCentreJustify).AsInt(), 0);
}

TEST_F(ResetToOriginalTest, WritesNothingWithoutBothRecords) {
  // ?GHOST has a customised record but no original.
  Add(testing::RecordFor(kProcedure, "FLAT", "?GHOST", 30, 30));
  const auto writes = WriteCounts();
  EXPECT_FALSE(ResetToOriginal("FLAT", "?STRING1", "Main"));  // no customised record
  EXPECT_FALSE(ResetToOriginal("FLAT", "?GHOST", "Main"));    // no original
  EXPECT_FALSE(ResetToOriginal("COLORS", "?PROMPT1", "Main"));
  EXPECT_EQ(WriteCounts(), writes);
  EXPECT_EQ(Find(kProcedure, "FLAT", "?PROMPT1").control_text, "Custom");
}

TEST_F(ResetToOriginalTest, AFailedWriteStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        // Another station holds the file for writing past the driver's wait.
        kf::File other(WinDeclaration());
        WinRecord buffer;
        other.Bind(RecordBytes(buffer));
        if (other.Open(kf::kModeShared) != kf::kOk || other.Begin(30) != kf::kOk) std::exit(2);
        ResetToOriginal("FLAT", "?PROMPT1", "Main");
        std::exit(0);
      },
      ::testing::ExitedWithCode(rt::kStopExitCode), "File is locked \\(32\\)");
}

}  // namespace
}  // namespace twiq
