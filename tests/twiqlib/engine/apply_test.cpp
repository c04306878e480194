#include "twiqlib/engine/apply.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine_test_util.h"
#include "runtime/window/definition.h"
#include "runtime/window/property_codes.h"
#include "twiqdemo/windows/demo_windows.h"
#include "twiqlib/engine/capture.h"
#include "twiqlib/engine/property_io.h"

namespace twiq {
namespace {

namespace prop = rt::prop;
using rt::ControlType;
using testing::WindowCloser;

constexpr int kFeq = 3;
// What a property holds: its text, or kUnset for a property never set.
constexpr const char* kUnset = "<unset>";

struct Expect {
  int code;
  const char* value;
};

struct ApplyCase {
  const char* name;
  ControlType live_type;                          // the control in the window
  int feq;                                        // kFeq, or 0 for the window record
  std::vector<std::pair<int, rt::Value>> before;  // set on the control first
  std::function<void(WinRecord&)> record;         // the record, from a cleared one
  std::vector<Expect> expect;
};

// A record that changes nothing but what the case sets: explicit sizes kept as they are.
WinRecord BaseRecord(int32_t type) {
  WinRecord r;
  r.type = type;
  r.width_type = 3;  // no width or height step applies
  r.height_type = 3;
  return r;
}

const std::vector<ApplyCase>& ApplyCases() {
  static const std::vector<ApplyCase> cases = {
      {"prompt with decimal justification clears all three flags",
       ControlType::kPrompt,
       kFeq,
       {{prop::kLeftJustify, 1}, {prop::kRightJustify, 1}, {prop::kCentreJustify, 1}},
       [](WinRecord& r) { r.type = 10, r.justification = 4; },
       {{prop::kLeftJustify, "0"}, {prop::kRightJustify, "0"}, {prop::kCentreJustify, "0"}}},
      {"prompt centred is centred only",
       ControlType::kPrompt,
       kFeq,
       {{prop::kLeftJustify, 1}},
       [](WinRecord& r) { r.type = 10, r.justification = 3, r.offset = 4; },
       {{prop::kLeftJustify, "0"},
        {prop::kRightJustify, "0"},
        {prop::kCentreJustify, "1"},
        {prop::kCentreOffset, kUnset}}},
      {"button centred clears left and right",
       ControlType::kButton,
       kFeq,
       {{prop::kLeftJustify, 1}, {prop::kRightJustify, 1}},
       [](WinRecord& r) { r.type = 9, r.justification = 3; },
       {{prop::kLeftJustify, "0"}, {prop::kRightJustify, "0"}, {prop::kCentreJustify, kUnset}}},
      {"button decimal clears left and right",
       ControlType::kButton,
       kFeq,
       {{prop::kLeftJustify, 1}, {prop::kRightJustify, 1}},
       [](WinRecord& r) { r.type = 9, r.justification = 4, r.offset = 2; },
       {{prop::kLeftJustify, "0"},
        {prop::kRightJustify, "0"},
        {prop::kDecimalJustify, kUnset},
        {prop::kDecimalOffset, kUnset}}},
      {"check right-justified",
       ControlType::kCheck,
       kFeq,
       {{prop::kLeftJustify, 1}},
       [](WinRecord& r) { r.type = 12, r.justification = 2; },
       {{prop::kLeftJustify, "0"}, {prop::kRightJustify, "1"}}},
      {"entry right with offset keeps the other flags",
       ControlType::kEntry,
       kFeq,
       {{prop::kLeftJustify, 1}},
       [](WinRecord& r) { r.type = 8, r.justification = 2, r.offset = 3; },
       {{prop::kLeftJustify, "1"}, {prop::kRightJustify, "1"}, {prop::kRightOffset, "3"}}},
      {"string default justification clears every flag and offset",
       ControlType::kString,
       kFeq,
       {{prop::kLeftJustify, 1}, {prop::kLeftOffset, 2}, {prop::kDecimalJustify, 1}},
       [](WinRecord& r) { r.type = 1, r.justification = 0; },
       {{prop::kLeftJustify, "0"},
        {prop::kRightJustify, "0"},
        {prop::kCentreJustify, "0"},
        {prop::kDecimalJustify, "0"},
        {prop::kLeftOffset, "0"},
        {prop::kRightOffset, "0"},
        {prop::kCentreOffset, "0"},
        {prop::kDecimalOffset, "0"}}},
      {"string with password is not masked",
       ControlType::kString,
       kFeq,
       {},
       [](WinRecord& r) { r.type = 1, r.password = 1; },
       {{prop::kPasswordEntry, kUnset}}},
      {"entry with password is masked",
       ControlType::kEntry,
       kFeq,
       {},
       [](WinRecord& r) { r.type = 8, r.password = 1; },
       {{prop::kPasswordEntry, "1"}}},
      {"entry word case and mode are only ever set",
       ControlType::kEntry,
       kFeq,
       {{prop::kUppercase, 1}, {prop::kOverwriteMode, 1}},
       [](WinRecord& r) { r.type = 8, r.word_case = 0, r.entry_mode = 1; },
       {{prop::kUppercase, "1"}, {prop::kOverwriteMode, "1"}, {prop::kInsertMode, "1"}}},
      {"text capitalised, single line, boxed",
       ControlType::kText,
       kFeq,
       {},
       [](WinRecord& r) { r.type = 17, r.word_case = 2, r.single = 1, r.boxed = 1; },
       {{prop::kCapitalise, "1"}, {prop::kSingleLine, "1"}, {prop::kBoxed, "1"}}},
      {"button takes no word case",
       ControlType::kButton,
       kFeq,
       {},
       [](WinRecord& r) { r.type = 9, r.word_case = 1, r.boxed = 1; },
       {{prop::kUppercase, kUnset}, {prop::kBoxed, kUnset}}},
      {"spin applies range and step",
       ControlType::kSpin,
       kFeq,
       {},
       [](WinRecord& r) {
         r.type = 16, r.lower = "1", r.upper = "99", r.step = "3", r.delay = 5, r.repeat = 6;
       },
       {{prop::kRangeLow, "1"},
        {prop::kRangeHigh, "99"},
        {prop::kStep, "3"},
        {prop::kDelay, "5"},
        {prop::kRepeat, "6"},
        {prop::kFillColour, kUnset},
        {prop::kGradientType, kUnset}}},
      {"box applies the gradient when a step is given",
       ControlType::kBox,
       kFeq,
       {},
       [](WinRecord& r) { r.type = 6, r.lower = "255", r.upper = "65280", r.step = "2"; },
       {{prop::kFillColour, "255"},
        {prop::kGradientEndColour, "65280"},
        {prop::kGradientType, "2"},
        {prop::kRangeLow, kUnset},
        {prop::kStep, kUnset}}},
      {"box with a blank step keeps its fill",
       ControlType::kBox,
       kFeq,
       {{prop::kFillColour, 7}},
       [](WinRecord& r) { r.type = 6, r.lower = "255", r.upper = "65280"; },
       {{prop::kFillColour, "7"}, {prop::kGradientEndColour, kUnset}}},
      {"panel: bevels and gradient",
       ControlType::kPanel,
       kFeq,
       {},
       [](WinRecord& r) {
         r.type = 39, r.outer = 1, r.inner = -1, r.style = 2, r.lower = "1", r.step = "5";
       },
       {{prop::kBevelOuter, "1"},
        {prop::kBevelInner, "-1"},
        {prop::kBevelStyle, "2"},
        {prop::kGradientType, "5"},
        {prop::kFillColour, "1"}}},
      {"type 33 gets no justification, drop count or grid colour",
       ControlType::kDropList,
       kFeq,
       {},
       [](WinRecord& r) { r.type = 33, r.justification = 1, r.drop = 5, r.angle = 123; },
       {{prop::kLeftJustify, kUnset}, {prop::kDropCount, kUnset}, {prop::kGridColour, kUnset}}},
      {"list of type 14 gets them",
       ControlType::kList,
       kFeq,
       {},
       [](WinRecord& r) {
         r.type = 14, r.justification = 1, r.offset = 2, r.drop = 5, r.angle = 123;
       },
       {{prop::kLeftJustify, "1"},
        {prop::kLeftOffset, "2"},
        {prop::kDropCount, "5"},
        {prop::kGridColour, "123"}}},
      {"width type 2 with width 0 sets width 0",
       ControlType::kButton,
       kFeq,
       {{prop::kWidth, 40}},
       [](WinRecord& r) { r.type = 9, r.width_type = 2, r.width = 0; },
       {{prop::kWidth, "0"}}},
      {"width type 0 sets Full and keeps the explicit width",
       ControlType::kButton,
       kFeq,
       {{prop::kWidth, 40}},
       [](WinRecord& r) { r.type = 9, r.width_type = 0, r.width = 10; },
       {{prop::kFull, "1"}, {prop::kWidth, "40"}}},
      {"height type 1 goes back to the default height",
       ControlType::kButton,
       kFeq,
       {{prop::kHeight, 40}},
       [](WinRecord& r) { r.type = 9, r.height_type = 1, r.height = 10; },
       {{prop::kNoHeight, "1"}}},
      {"position, texts and colours on any type",
       ControlType::kImage,
       kFeq,
       {{prop::kText, "design"}},
       [](WinRecord& r) {
         r.type = 3, r.x = 12, r.y = 7, r.tip = "tip", r.help = "help", r.message = "msg";
         r.hide = 1, r.disable = 1, r.skip = 1, r.scroll = "1", r.transparent = 1, r.flat = 1;
         r.required = 1, r.read_only = 1, r.horizontal = "1", r.vertical = 1;
         r.text_color = engine::ToColourField(prop::kNoColour), r.background = 5;
         r.selected_text = 6, r.selected_fill = 7, r.typeface = "Arial", r.font_size = 12;
         r.charset = 204, r.font_style = 700, r.icon = "not.ico", r.layout = 1;
         r.cursor = "IBEAM";
       },
       {{prop::kText, "design"},
        {prop::kXPos, "12"},
        {prop::kYPos, "7"},
        {prop::kTip, "tip"},
        {prop::kHelpId, "help"},
        {prop::kStatusMessage, "msg"},
        {prop::kHidden, "1"},
        {prop::kDisabled, "1"},
        {prop::kSkip, "1"},
        {prop::kScroll, "1"},
        {prop::kTransparent, "1"},
        {prop::kFlat, "1"},
        {prop::kRequired, "1"},
        {prop::kReadOnly, "1"},
        {prop::kHScroll, "1"},
        {prop::kVScroll, "1"},
        {prop::kFontColour, "4278190080"},  // kNoColour comes back whole
        {prop::kBackgroundColour, "5"},
        {prop::kSelectedTextColour, "6"},
        {prop::kSelectedFillColour, "7"},
        {prop::kFontFace, "Arial"},
        {prop::kFontSize, "12"},
        {prop::kFontCharset, "204"},
        {prop::kFontStyle, "700"},
        {prop::kIcon, kUnset},
        {prop::kLayout, "1"},
        {prop::kCursor, kUnset}}},
      {"a text replaces the design-time text",
       ControlType::kButton,
       kFeq,
       {{prop::kText, "design"}},
       [](WinRecord& r) { r.type = 9, r.control_text = "Custom", r.icon = "b.ico"; },
       {{prop::kText, "Custom"}, {prop::kIcon, "b.ico"}}},
      {"toolbar wallpaper tiled",
       ControlType::kToolbar,
       kFeq,
       {{prop::kWallpaperCentred, 1}},
       [](WinRecord& r) { r.type = 128, r.wallpaper = "w.png", r.wallpaper_mode = 2; },
       {{prop::kWallpaper, "w.png"}, {prop::kWallpaperCentred, "0"}, {prop::kWallpaperTiled, "1"}}},
      {"window record: icon even blank, font, gradient, stretched wallpaper",
       ControlType::kButton,
       0,
       {{prop::kIcon, "app.ico"}, {prop::kText, "Title"}, {prop::kWallpaperTiled, 1}},
       [](WinRecord& r) {
         r.type = 0, r.typeface = "Arial", r.font_size = 9, r.charset = 1, r.font_style = 400;
         r.lower = "255", r.upper = "0", r.step = "1", r.wallpaper = "w.png";
         r.wallpaper_mode = 0, r.control_text = "Ignored", r.x = 40, r.layout = 1;
       },
       {{prop::kIcon, ""},
        {prop::kFontFace, "Arial"},
        {prop::kFontSize, "9"},
        {prop::kFontCharset, "1"},
        {prop::kFontStyle, "400"},
        {prop::kFillColour, "255"},
        {prop::kGradientEndColour, "0"},
        {prop::kGradientType, "1"},
        {prop::kWallpaper, "w.png"},
        {prop::kWallpaperCentred, "0"},
        {prop::kWallpaperTiled, "0"},
        {prop::kText, "Title"},
        {prop::kXPos, "0"},
        {prop::kLayout, kUnset}}},
      {"window record with blank wallpaper and step leaves them",
       ControlType::kButton,
       0,
       {{prop::kWallpaper, "keep.png"}, {prop::kWallpaperTiled, 1}, {prop::kFillColour, 7}},
       [](WinRecord& r) { r.type = 0, r.wallpaper_mode = 1, r.lower = "255"; },
       {{prop::kWallpaper, "keep.png"},
        {prop::kWallpaperTiled, "1"},
        {prop::kWallpaperCentred, kUnset},
        {prop::kFillColour, "7"}}},
  };
  return cases;
}

// The stored value of a property (geometry and derived codes through Get), or kUnset.
std::string Stored(const rt::Window& w, int feq, int code) {
  const rt::WindowState s = w.Snapshot();
  const auto* props = &s.properties;
  for (const rt::ControlState& c : s.controls) {
    if (c.feq == feq) props = &c.properties;
  }
  switch (code) {
    case prop::kXPos:
    case prop::kYPos:
    case prop::kWidth:
    case prop::kHeight:
    case prop::kNoWidth:
    case prop::kNoHeight:
      return w.Get(feq, code).AsText();
    default:
      break;
  }
  auto it = props->find({code, 0});
  return it == props->end() ? kUnset : it->second.AsText();
}

class ApplyControlTest : public testing::SettingsFileFixture {};

TEST_F(ApplyControlTest, AppliesEachFieldByRecordType) {
  for (const ApplyCase& c : ApplyCases()) {
    SCOPED_TRACE(c.name);
    WindowCloser closer{rt::OpenWindow(0, "APPLY")};
    rt::Window& w = *closer.window;
    ASSERT_TRUE(w.AddControl(testing::ControlSpecOf(kFeq, c.live_type, "?X")).ok());
    for (const auto& [code, value] : c.before) ASSERT_TRUE(w.Set(c.feq, code, value).ok());
    WinRecord r = BaseRecord(0);
    c.record(r);
    Store().win = r;
    ApplyControl(w, c.feq);
    EXPECT_TRUE(SameRecord(Store().win, r)) << "the buffer must be left unchanged";
    for (const Expect& e : c.expect) {
      EXPECT_EQ(Stored(w, c.feq, e.code), e.value) << rt::prop::PropertyName(e.code).value_or("?");
    }
  }
}

// Every property capture and application use, as the window reports them (numbers as
// numbers: a property a control lacks reads as 0, like one set to 0), and the geometry.
std::string Render(const rt::Window& w, int feq) {
  static constexpr int kTextCodes[] = {
      prop::kText,          prop::kFontFace,  prop::kRangeLow, prop::kRangeHigh,
      prop::kStep,          prop::kHelpId,    prop::kHScroll,  prop::kIcon,
      prop::kStatusMessage, prop::kScroll,    prop::kTip,      prop::kGradientEndColour,
      prop::kGradientType,  prop::kWallpaper, prop::kCursor,
  };
  static constexpr int kNumberCodes[] = {
      prop::kType,
      prop::kXPos,
      prop::kYPos,
      prop::kWidth,
      prop::kHeight,
      prop::kCentreJustify,
      prop::kCentreOffset,
      prop::kLeftJustify,
      prop::kLeftOffset,
      prop::kDecimalJustify,
      prop::kDecimalOffset,
      prop::kRightJustify,
      prop::kRightOffset,
      prop::kFontSize,
      prop::kFontColour,
      prop::kFontStyle,
      prop::kGridColour,
      prop::kInsertMode,
      prop::kOverwriteMode,
      prop::kBoxed,
      prop::kCapitalise,
      prop::kDisabled,
      prop::kDropCount,
      prop::kFillColour,
      prop::kFull,
      prop::kHidden,
      prop::kPasswordEntry,
      prop::kReadOnly,
      prop::kRequired,
      prop::kSkip,
      prop::kTransparent,
      prop::kUppercase,
      prop::kVScroll,
      prop::kBevelOuter,
      prop::kBevelInner,
      prop::kBevelStyle,
      prop::kBackgroundColour,
      prop::kSelectedTextColour,
      prop::kSelectedFillColour,
      prop::kSingleLine,
      prop::kRepeat,
      prop::kDelay,
      prop::kFlat,
      prop::kWallpaperTiled,
      prop::kWallpaperCentred,
      prop::kFontCharset,
      prop::kNoWidth,
      prop::kNoHeight,
      prop::kLayout,
  };
  std::string out;
  for (int code : kTextCodes) {
    out += std::string(rt::prop::PropertyName(code).value_or("?")) + "=" +
           w.Get(feq, code).AsText() + "\n";
  }
  for (int code : kNumberCodes) {
    out += std::string(rt::prop::PropertyName(code).value_or("?")) + "=" +
           std::to_string(w.Get(feq, code).AsInt()) + "\n";
  }
  const rt::Rect px = w.PixelRect(feq);
  out += "rect=" + std::to_string(px.x) + "," + std::to_string(px.y) + "," +
         std::to_string(px.width) + "," + std::to_string(px.height) + "\n";
  out += "contents=" + w.Contents(feq).AsText() + "\n";
  return out;
}

// On the demo's Control Window (one or more controls of most kinds): capturing a control
// into a fresh record and applying it back leaves it as it was, and applying again changes
// nothing more.
TEST_F(ApplyControlTest, CaptureThenApplyLeavesEveryControlAsItWas) {
  twiqdemo::ControlWindowVars vars;
  rt::Status status;
  WindowCloser closer{
      rt::BuildWindow(twiqdemo::ControlWindowDefinition(), 0, twiqdemo::Bindings(vars), &status)};
  ASSERT_TRUE(closer.window) << status.ToString();
  rt::Window& w = *closer.window;
  ASSERT_EQ(w.LastField(), 21);
  for (int feq = 0; feq <= w.LastField(); ++feq) {
    SCOPED_TRACE(feq == 0 ? std::string("the window") : w.FieldName(feq));
    const std::string before = Render(w, feq);
    ClearRecord(Store().win);
    CaptureControl(w, feq);
    ApplyControl(w, feq);
    EXPECT_EQ(Render(w, feq), before);
    const rt::WindowState once = w.Snapshot();
    ApplyControl(w, feq);
    const rt::WindowState twice = w.Snapshot();
    EXPECT_EQ(twice.properties, once.properties);
    ASSERT_EQ(twice.controls.size(), once.controls.size());
    for (size_t i = 0; i < once.controls.size(); ++i) {
      EXPECT_EQ(twice.controls[i].properties, once.controls[i].properties);
      EXPECT_EQ(twice.controls[i].rect, once.controls[i].rect);
    }
  }
}

// Applying a customised record twice gives the state of applying it once.
TEST_F(ApplyControlTest, ApplyingTwiceEqualsOnce) {
  for (const ApplyCase& c : ApplyCases()) {
    SCOPED_TRACE(c.name);
    WindowCloser closer{rt::OpenWindow(0, "APPLY")};
    rt::Window& w = *closer.window;
    ASSERT_TRUE(w.AddControl(testing::ControlSpecOf(kFeq, c.live_type, "?X")).ok());
    for (const auto& [code, value] : c.before) ASSERT_TRUE(w.Set(c.feq, code, value).ok());
    WinRecord r = BaseRecord(0);
    c.record(r);
    Store().win = r;
    ApplyControl(w, c.feq);
    const rt::WindowState once = w.Snapshot();
    ApplyControl(w, c.feq);
    const rt::WindowState twice = w.Snapshot();
    EXPECT_EQ(twice.properties, once.properties);
    ASSERT_EQ(twice.controls.size(), 1u);
    EXPECT_EQ(twice.controls[0].properties, once.controls[0].properties);
    EXPECT_EQ(twice.controls[0].rect, once.controls[0].rect);
  }
}

// The file is opened through the thread's share count: a caller that holds it keeps it open.
TEST_F(ApplyControlTest, HoldsTheFileOnlyForTheCall) {
  WindowCloser closer{rt::OpenWindow(0, "APPLY")};
  ASSERT_TRUE(closer.window->AddControl(testing::ControlSpecOf(kFeq, ControlType::kButton, "?X")).ok());
  Store().win = BaseRecord(9);
  ApplyControl(*closer.window, kFeq);
  EXPECT_FALSE(Store().win_file.is_open());
  EXPECT_TRUE(FileExists());
  SettingsFileHold hold;
  OpenSettingsFile(hold);
  Store().win = BaseRecord(9);
  ApplyControl(*closer.window, kFeq);
  EXPECT_TRUE(Store().win_file.is_open());
  EXPECT_EQ(Store().win_open_count, 1);
  ReleaseSettingsFile(hold);
}

}  // namespace
}  // namespace twiq
