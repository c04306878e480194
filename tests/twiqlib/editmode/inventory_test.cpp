#include "twiqlib/editmode/inventory.h"

#include <gtest/gtest.h>

#include <memory>

#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"
#include "tests/twiqlib/engine/engine_test_util.h"
#include "twiqlib/editmode/process_window.h"

namespace twiq {
namespace {

namespace prop = rt::prop;
using rt::ControlType;
using testing::ControlSpecOf;

class InventoryTest : public testing::SettingsFileFixture {
 protected:
  void SetUp() override {
    SettingsFileFixture::SetUp();
    window_->Set(0, prop::kText, "Orders");
    struct Control {
      ControlType type;
      const char* label;
      const char* text;
    } controls[] = {
        {ControlType::kButton, "?BUTTON1", "&OK"}, {ControlType::kList, "?LIST1", "rows"},
        {ControlType::kEntry, "?NAME", "typed"},   {ControlType::kSheet, "?SHEET1", "s"},
        {ControlType::kTab, "?TAB1", "General"},   {ControlType::kPanel, "?PANEL1", "p"},
    };
    int feq = 0;
    for (const Control& c : controls) {
      ASSERT_TRUE(window_->AddControl(ControlSpecOf(++feq, c.type, c.label)).ok());
      window_->Set(feq, prop::kText, c.text);
    }
    window_->Hide(3);
  }
  void TearDown() override {
    rt::CloseWindow(window_->ref());
    SettingsFileFixture::TearDown();
  }
  std::shared_ptr<rt::Window> window_ = rt::OpenWindow(0, "Orders");
};

TEST_F(InventoryTest, ListsTheWindowThenEveryControlAndCreatesMissingRecords) {
  ControlInventory inventory;
  BuildControlInventory(inventory, *window_, "M", "Proc");
  struct Expect {
    const char *label, *type, *text, *state, *description;
    int feq;
  } expect[] = {
      {"WINDOW", "WINDOW", "Orders", "Visible", "WINDOW", 0},
      {"?BUTTON1", "BUTTON", "&OK", "Visible", "BUTTON1", 1},
      {"?LIST1", "LIST", "", "Visible", "LIST1", 2},
      {"?NAME", "ENTRY", "typed", "Hidden", "NAME", 3},
      {"?SHEET1", "SHEET", "", "Visible", "SHEET1", 4},
      {"?TAB1", "TAB", "General", "Visible", "TAB1", 5},
      {"?PANEL1", "", "", "Visible", "PANEL1", 6},
  };
  ASSERT_EQ(inventory.size(), std::size(expect));
  for (size_t i = 0; i < inventory.size(); ++i) {
    const InventoryEntry& e = inventory[i];
    SCOPED_TRACE(expect[i].label);
    EXPECT_EQ(e.label.Clipped(), expect[i].label);
    EXPECT_EQ(e.type_text.Clipped(), expect[i].type);
    EXPECT_EQ(e.screen_text.Clipped(), expect[i].text);
    EXPECT_EQ(e.state_text.Clipped(), expect[i].state);
    EXPECT_EQ(e.description.Clipped(), expect[i].description);
    EXPECT_EQ(e.feq, expect[i].feq);
    EXPECT_EQ(e.tab_order, expect[i].feq);
    const WinRecord r = Find("Proc", "M", expect[i].label);
    EXPECT_EQ(e.uid, static_cast<int32_t>(static_cast<uint32_t>(r.uid)));
    EXPECT_EQ(r.feq, expect[i].feq);
  }
  EXPECT_EQ(FindInventoryEntry(inventory, 4), &inventory[4]);
  EXPECT_EQ(FindInventoryEntry(inventory, -1), nullptr);
  // Taking it again finds every record.
  const size_t records = Records().size();
  BuildControlInventory(inventory, *window_, "M", "Proc");
  EXPECT_EQ(Records().size(), records);
  EXPECT_EQ(inventory.size(), std::size(expect));
}

TEST(EditMenuTextTest, NamesTheControlInTheFirstAndFourthItems) {
  EXPECT_EQ(EditMenuText("?BUTTON1   "),
            "Edit ?BUTTON1|Show Processed Fields|Full Field List/Tab Order|Reset ?BUTTON1 to "
            "original|Quit Editing Mode");
}

}  // namespace
}  // namespace twiq
