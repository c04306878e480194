#include "twiqlib/engine/set_window_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/window/definition_builder.h"
#include "runtime/window/property_codes.h"
#include "twiq/twiq.h"
#include "window_test_fixture.h"

namespace twiq {
namespace {

namespace prop = rt::prop;
using rt::ControlType;
using testing::kProcedure;

class SetWindowControlsTest : public testing::ControlWindowTest {};

// The design-time texts of every control, by label.
std::vector<std::string> Texts(const rt::Window& w) {
  std::vector<std::string> out;
  for (int feq : w.Fields())
    out.push_back(w.FieldName(feq) + "=" + w.Get(feq, prop::kText).AsText());
  return out;
}

TEST_F(SetWindowControlsTest, FirstOpenRecordsTheWindowAndEveryControl) {
  rt::Window& w = Open();
  // A record already in the file: new UIDs follow the highest one.
  Add(testing::RecordFor(kProcedure, "COLORS", "?STRING1", 4, 4), 7);
  Customise(w);
  const std::vector<WinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u + 22u);
  for (int feq = 0; feq <= 21; ++feq) {
    SCOPED_TRACE(feq);
    const WinRecord& r = records[static_cast<size_t>(feq) + 1];
    const std::string label = feq == 0 ? "WINDOW" : w.FieldName(feq);
    EXPECT_EQ(+r.uid, 8u + static_cast<uint32_t>(feq));
    EXPECT_EQ(r.procedure_name, "Main");
    EXPECT_EQ(r.unique_marker, "TWIQ_ORIGINAL");
    EXPECT_EQ(r.control_label, label);
    EXPECT_EQ(+r.feq, feq);
    EXPECT_EQ(+r.order, feq);
    EXPECT_EQ(r.description, feq == 0 ? "WINDOW" : label.substr(1));
    EXPECT_EQ(+r.type, static_cast<int32_t>(w.TypeOf(feq)));
  }
  EXPECT_EQ(records[1 + 9].control_text, "Prompt 1");
  EXPECT_EQ(+records[1].font_size, 8);
}

TEST_F(SetWindowControlsTest, ReopeningTheUnchangedWindowWritesNothing) {
  Customise(Open());
  const size_t count = Records().size();
  for (int i = 0; i < 2; ++i) Customise(Open(), i == 0 ? "FLAT" : "COLORS");
  EXPECT_EQ(Records().size(), count);
  for (const auto& [uid, writes] : WriteCounts()) EXPECT_EQ(writes, 0) << "UID " << uid;
}

TEST_F(SetWindowControlsTest, AChangedDesignTimeTextRefreshesOnlyThatOriginal) {
  Customise(Open());
  rt::Window& w = Open();
  ASSERT_TRUE(w.Set(Feq(w, "?PROMPT1"), prop::kText, "Prompt One").ok());
  Customise(w);
  const WinRecord prompt = Find(kProcedure, "TWIQ_ORIGINAL", "?PROMPT1");
  EXPECT_EQ(prompt.control_text, "Prompt One");
  for (const auto& [uid, writes] : WriteCounts()) {
    EXPECT_EQ(writes, uid == prompt.uid ? 1 : 0) << "UID " << uid;
  }
}

TEST_F(SetWindowControlsTest, AppliesTheVariantWhateverTheLetterCase) {
  rt::Window& design = Open();
  WinRecord flat = Customised(design, "?PROMPT1", 1);
  flat.control_text = "Flat";
  Add(flat);
  WinRecord colors = Customised(design, "?PROMPT1", 1, "COLORS");
  colors.control_text = "Colors";
  Add(colors);
  WinRecord original = Customised(design, "?STRING1", 2, "ORIGINAL");
  original.control_text = "Edited under ORIGINAL";
  Add(original);
  WinRecord other = Customised(design, "?BUTTON3", 3);
  other.procedure_name = "Other";
  other.control_text = "Other procedure";
  Add(other);
  WinRecord blank = Customised(design, "?BUTTON1", 4);
  blank.control_label = "";
  blank.control_text = "No label";
  Add(blank);
  const std::vector<std::string> before = Texts(design);

  rt::Window& w = Open();
  Customise(w, "flat", "main");
  std::vector<std::string> expected = before;
  for (std::string& t : expected) {
    if (t.starts_with("?PROMPT1=")) t = "?PROMPT1=Flat";
  }
  EXPECT_EQ(Texts(w), expected);
}

TEST_F(SetWindowControlsTest, DesignMarkerLeavesWindowAndFileAlone) {
  for (const char* marker : {"ORIGINAL", "original", "Original  "}) {
    SCOPED_TRACE(marker);
    rt::Window& w = Open();
    const rt::WindowState before = w.Snapshot();
    Customise(w, marker);
    const rt::WindowState after = w.Snapshot();
    EXPECT_FALSE(FileExists());
    EXPECT_EQ(after.properties, before.properties);
    ASSERT_EQ(after.controls.size(), before.controls.size());
    for (size_t i = 0; i < before.controls.size(); ++i) {
      EXPECT_EQ(after.controls[i].properties, before.controls[i].properties);
    }
  }
  // Records edit mode stored under the design marker are never applied.
  rt::Window& design = Open();
  WinRecord r = Customised(design, "?PROMPT1", 1, "ORIGINAL");
  r.control_text = "Edited";
  Add(r);
  rt::Window& w = Open();
  Customise(w, "Original");
  EXPECT_EQ(w.Get(Feq(w, "?PROMPT1"), prop::kText).AsText(), "Prompt 1");
  EXPECT_EQ(Records().size(), 1u);
}

TEST_F(SetWindowControlsTest, ARecordFollowsItsLabelWhenControlsAreInserted) {
  rt::Window& design = Open();
  Customise(design);
  WinRecord button = Customised(design, "?BUTTON1", 2);
  button.control_text = "Moved";
  const uint32_t uid = Add(button);
  ASSERT_EQ(+button.feq, 2);

  rt::WindowDefinition def = twiqdemo::ControlWindowDefinition();
  def.controls.insert(
      def.controls.begin(),
      rt::Def("?NEWBUTTON", ControlType::kButton).At(280, 2).Size(30, 14).Text("New"));
  rt::Window& w = Open(def);
  ASSERT_EQ(Feq(w, "?BUTTON1"), 3);
  Customise(w);
  EXPECT_EQ(w.Get(3, prop::kText).AsText(), "Moved");
  EXPECT_EQ(w.Get(2, prop::kText).AsText(), "");  // the toolbar now at 2 is untouched
  const WinRecord stored = Find(kProcedure, "FLAT", "?BUTTON1");
  EXPECT_EQ(+stored.uid, uid);
  EXPECT_EQ(+stored.feq, 3);
  // The original is refreshed from the control bearing the label; its stored equate stays.
  const WinRecord original = Find(kProcedure, "TWIQ_ORIGINAL", "?BUTTON1");
  EXPECT_EQ(+original.feq, 2);
  EXPECT_EQ(+original.type, 9);
  EXPECT_EQ(original.control_text, "Toolbar Button");
  const WinRecord added = Find(kProcedure, "TWIQ_ORIGINAL", "?NEWBUTTON");
  EXPECT_EQ(+added.feq, 1);
  EXPECT_EQ(added.control_text, "New");
}

TEST_F(SetWindowControlsTest, ARemovedControlsRecordIsSkippedAndKept) {
  rt::Window& w = Open();
  const int taken = Feq(w, "?PROMPT2:2");  // the number the removed control had
  WinRecord gone = testing::RecordFor(kProcedure, "FLAT", "?GONE", taken, 1);
  gone.type = 10;
  gone.control_text = "Gone";
  gone.width_type = gone.height_type = 3;
  Add(gone);
  Add(Customised(w, "?SPIN1", 2));
  const std::vector<std::string> texts = Texts(w);
  const std::vector<int> chain = w.TabChain();
  Customise(w);
  EXPECT_EQ(Texts(w), texts);
  const WinRecord kept = Find(kProcedure, "FLAT", "?GONE");
  EXPECT_EQ(+kept.feq, taken);
  EXPECT_EQ(kept.control_text, "Gone");
  // Its stale number moves nothing: the tab order and the focus belong to ?SPIN1.
  EXPECT_EQ(w.TabChain(), chain);
  EXPECT_EQ(w.focus(), Feq(w, "?SPIN1"));
}

TEST_F(SetWindowControlsTest, CustomisedControlsFollowTheirOrderAndTheFirstHasTheFocus) {
  rt::Window& w = Open();
  const int a = Feq(w, "?PROMPT1"), b = Feq(w, "?TESTENTRY"), c = Feq(w, "?SPIN1");
  Add(Customised(w, "?PROMPT1", 5));
  Add(Customised(w, "?TESTENTRY", 2));
  Add(Customised(w, "?SPIN1", 9));
  std::vector<int> expected = w.TabChain();
  std::erase(expected, a);
  std::erase(expected, c);
  auto at = std::find(expected.begin(), expected.end(), b);
  expected.insert(at + 1, {a, c});
  Customise(w);
  EXPECT_EQ(w.TabChain(), expected);
  EXPECT_EQ(w.focus(), b);
}

TEST_F(SetWindowControlsTest, TheWindowRecordAppliesAfterTheControlRecords) {
  rt::Window& w = Open();
  WinRecord prompt = Customised(w, "?PROMPT1", 1);
  prompt.x = 100;
  Add(prompt);
  WinRecord window = testing::RecordFor(kProcedure, "FLAT", "WINDOW", 0, 0);
  CaptureControl(w, 0, window);
  window.font_size = 16;  // 12-pixel cells instead of 6
  Add(window);
  Customise(w);
  EXPECT_EQ(w.Get(0, prop::kFontSize).AsInt(), 16);
  // Placed in the units of the 8-point font: the window record had not been applied yet.
  EXPECT_EQ(w.PixelRect(Feq(w, "?PROMPT1")).x, 150);
}

TEST_F(SetWindowControlsTest, AVariantWithoutRecordsIsShownAsDesigned) {
  rt::Window& w = Open();
  ASSERT_TRUE(w.Select(twiqdemo::kControlWindowOk).ok());
  const std::vector<std::string> texts = Texts(w);
  const std::vector<int> chain = w.TabChain();
  ASSERT_FALSE(FileExists());
  Customise(w);
  EXPECT_EQ(Records().size(), 22u);
  EXPECT_EQ(Texts(w), texts);
  EXPECT_EQ(w.TabChain(), chain);
  EXPECT_EQ(w.focus(), twiqdemo::kControlWindowOk);
}

// Counts the paints a display would make: each announcement is taken at once, so every
// further change would be announced again.
class PaintCounter : public rt::WindowObserver {
 public:
  explicit PaintCounter(rt::Window& w) : window_(w) { window_.set_observer(this); }
  ~PaintCounter() override { window_.set_observer(nullptr); }
  void WindowOpened(rt::WindowRef) override {}
  void WindowChanged(rt::WindowRef) override {
    window_.TakeChanges();
    ++paints_;
  }
  void WindowClosed(rt::WindowRef) override {}
  int paints() const { return paints_; }

 private:
  rt::Window& window_;
  int paints_ = 0;
};

TEST_F(SetWindowControlsTest, TheWindowPaintsOnce) {
  rt::Window& w = Open();
  for (const char* label : {"?PROMPT1", "?TESTENTRY", "?SPIN1", "?PANEL1"}) {
    WinRecord r = Customised(w, label, 1);
    r.control_text = "Changed";
    r.x += 2;
    Add(r);
  }
  WinRecord window = testing::RecordFor(kProcedure, "FLAT", "WINDOW", 0, 0);
  CaptureControl(w, 0, window);
  window.icon = "other.ico";
  Add(window);
  PaintCounter counter(w);
  const int64_t before = w.announcements();
  Customise(w);
  EXPECT_EQ(w.announcements() - before, 1);
  EXPECT_EQ(counter.paints(), 1);
  EXPECT_FALSE(w.updates_locked());
  EXPECT_EQ(w.Get(Feq(w, "?SPIN1"), prop::kText).AsText(), "Changed");
}

TEST_F(SetWindowControlsTest, TheExportedEntryPointCustomisesByWindowReference) {
  rt::Window& w = Open();
  WinRecord r = Customised(w, "?PROMPT1", 1);
  r.control_text = "Exported";
  Add(r);
  twiq_set_window_controls(w.ref() + 1000, "FLAT", "Main", &settings_);  // no such window
  EXPECT_EQ(w.Get(Feq(w, "?PROMPT1"), prop::kText).AsText(), "Prompt 1");
  twiq_set_window_controls(w.ref(), "flat  ", "MAIN", &settings_);
  EXPECT_EQ(w.Get(Feq(w, "?PROMPT1"), prop::kText).AsText(), "Exported");
}

}  // namespace
}  // namespace twiq
