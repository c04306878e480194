#include "twiqlib/engine/capture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine_test_util.h"
#include "runtime/window/property_codes.h"
#include "twiqlib/engine/property_io.h"

namespace twiq {
namespace {

namespace prop = rt::prop;
using rt::ControlType;
using testing::WindowCloser;

constexpr int kFeq = 4;

struct CaptureCase {
  const char* name;
  ControlType type;
  std::vector<std::pair<int, rt::Value>> properties;  // set on the control before capture
  std::function<void(WinRecord&)> preset;             // the buffer before capture
  std::function<void(const WinRecord&)> check;
};

const std::vector<CaptureCase>& CaptureCases() {
  static const std::vector<CaptureCase> cases = {
      {"left wins over centre, with its own offset",
       ControlType::kPrompt,
       {{prop::kCentreJustify, 1},
        {prop::kCentreOffset, 9},
        {prop::kLeftJustify, 1},
        {prop::kLeftOffset, 3}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(+r.justification, 1);
         EXPECT_EQ(+r.offset, 3);
       }},
      {"decimal alone",
       ControlType::kEntry,
       {{prop::kDecimalJustify, 1}, {prop::kDecimalOffset, 2}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(+r.justification, 4);
         EXPECT_EQ(+r.offset, 2);
       }},
      {"no justification clears the buffer's",
       ControlType::kEntry,
       {},
       [](WinRecord& r) { r.justification = 3, r.offset = 5; },
       [](const WinRecord& r) {
         EXPECT_EQ(+r.justification, 0);
         EXPECT_EQ(+r.offset, 0);
       }},
      {"uppercase wins over capitalise, insert over overwrite",
       ControlType::kEntry,
       {{prop::kUppercase, 1},
        {prop::kCapitalise, 1},
        {prop::kInsertMode, 1},
        {prop::kOverwriteMode, 1}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(+r.word_case, 1);
         EXPECT_EQ(+r.entry_mode, 1);
       }},
      {"capitalise and overwrite alone",
       ControlType::kEntry,
       {{prop::kCapitalise, 1}, {prop::kOverwriteMode, 1}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(+r.word_case, 2);
         EXPECT_EQ(+r.entry_mode, 2);
       }},
      {"full without a size",
       ControlType::kRegion,
       {{prop::kFull, 1}},
       [](WinRecord& r) { r.width_type = 2, r.height_type = 2; },
       [](const WinRecord& r) {
         EXPECT_EQ(+r.width, 0);
         EXPECT_EQ(+r.no_width, 0);
         EXPECT_EQ(+r.width_type, 0);
         EXPECT_EQ(+r.height_type, 0);
       }},
      {"explicit zero width, neither flag: the width type stays",
       ControlType::kRegion,
       {{prop::kWidth, 0}, {prop::kHeight, 0}},
       [](WinRecord& r) { r.width_type = 7, r.height_type = 5; },
       [](const WinRecord& r) {
         EXPECT_EQ(+r.width_type, 7);
         EXPECT_EQ(+r.height_type, 5);
       }},
      {"default size",
       ControlType::kButton,
       {{prop::kText, "Press"}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(+r.no_width, 1);
         EXPECT_EQ(+r.no_height, 1);
         EXPECT_EQ(+r.width_type, 1);
         EXPECT_EQ(+r.height_type, 1);
         EXPECT_GT(+r.width, 0);  // the default width, as the runtime reports it
       }},
      {"explicit size in dialog units",
       ControlType::kButton,
       {{prop::kXPos, 10}, {prop::kYPos, 20}, {prop::kWidth, 40}, {prop::kHeight, 14}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(+r.x, 10);
         EXPECT_EQ(+r.y, 20);
         EXPECT_EQ(+r.width, 40);
         EXPECT_EQ(+r.height, 14);
         EXPECT_EQ(+r.width_type, 2);
         EXPECT_EQ(+r.height_type, 2);
       }},
      {"list of type 14 records its grid colour",
       ControlType::kList,
       {{prop::kGridColour, prop::Rgb(1, 2, 3)}, {prop::kDropCount, 6}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(+r.angle, prop::Rgb(1, 2, 3));
         EXPECT_EQ(+r.drop, 6);
       }},
      {"drop list of type 33 leaves angle alone",
       ControlType::kDropList,
       {{prop::kGridColour, prop::Rgb(1, 2, 3)}},
       [](WinRecord& r) { r.angle = 77; },
       [](const WinRecord& r) { EXPECT_EQ(+r.angle, 77); }},
      {"toolbar wallpaper centred",
       ControlType::kToolbar,
       {{prop::kWallpaper, "paper.png"}, {prop::kWallpaperCentred, 1}, {prop::kWallpaperTiled, 1}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(r.wallpaper, "paper.png");
         EXPECT_EQ(+r.wallpaper_mode, 1);
       }},
      {"toolbar wallpaper tiled",
       ControlType::kToolbar,
       {{prop::kWallpaper, "paper.png"}, {prop::kWallpaperTiled, 1}},
       [](WinRecord& r) { r.wallpaper_mode = 0; },
       [](const WinRecord& r) { EXPECT_EQ(+r.wallpaper_mode, 2); }},
      {"toolbar without wallpaper keeps the stored one",
       ControlType::kToolbar,
       {},
       [](WinRecord& r) { r.wallpaper = "old.png", r.wallpaper_mode = 2; },
       [](const WinRecord& r) {
         EXPECT_EQ(r.wallpaper, "old.png");
         EXPECT_EQ(+r.wallpaper_mode, 2);
       }},
      {"a button's wallpaper is not recorded",
       ControlType::kButton,
       {{prop::kWallpaper, "paper.png"}},
       nullptr,
       [](const WinRecord& r) { EXPECT_TRUE(r.wallpaper.IsBlank()); }},
      {"long text and tip are cut to their fields",
       ControlType::kText,
       {{prop::kText, std::string(600, 'x')}, {prop::kTip, std::string(300, 't')}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(r.control_text.Clipped(), std::string(512, 'x'));
         EXPECT_EQ(r.tip.Clipped(), std::string(256, 't'));
       }},
      {"layout 1 is recorded",
       ControlType::kPrompt,
       {{prop::kLayout, 1}},
       nullptr,
       [](const WinRecord& r) { EXPECT_EQ(+r.layout, 1); }},
      {"layout other than 1 never changes the field",
       ControlType::kPrompt,
       {{prop::kLayout, 2}},
       [](WinRecord& r) { r.layout = 1; },
       [](const WinRecord& r) { EXPECT_EQ(+r.layout, 1); }},
      {"a spin's range and step",
       ControlType::kSpin,
       {{prop::kRangeLow, 1}, {prop::kRangeHigh, 99}, {prop::kStep, "3"}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(r.lower, "1");
         EXPECT_EQ(r.upper, "99");
         EXPECT_EQ(r.step, "3");
       }},
      {"a panel's gradient is not captured",
       ControlType::kPanel,
       {{prop::kFillColour, 255}, {prop::kGradientEndColour, "65280"}, {prop::kGradientType, "2"}},
       [](WinRecord& r) { r.lower = "1", r.step = "4"; },
       [](const WinRecord& r) {
         EXPECT_TRUE(r.lower.IsBlank());
         EXPECT_TRUE(r.upper.IsBlank());
         EXPECT_TRUE(r.step.IsBlank());
       }},
      {"flags, texts and colours",
       ControlType::kEntry,
       {{prop::kHidden, 1},
        {prop::kDisabled, 1},
        {prop::kSkip, 1},
        {prop::kScroll, "1"},
        {prop::kTransparent, 1},
        {prop::kRequired, 1},
        {prop::kReadOnly, 1},
        {prop::kPasswordEntry, 1},
        {prop::kFlat, 1},
        {prop::kFontColour, prop::kNoColour},
        {prop::kBackgroundColour, prop::Rgb(255, 255, 255)},
        {prop::kSelectedTextColour, 5},
        {prop::kSelectedFillColour, 6},
        {prop::kHelpId, "Help"},
        {prop::kStatusMessage, "Message"},
        {prop::kCursor, "IBEAM"},
        {prop::kIcon, "i.ico"},
        {prop::kHScroll, 1},
        {prop::kVScroll, 1},
        {prop::kFontFace, "Arial"},
        {prop::kFontSize, 10},
        {prop::kFontCharset, 204},
        {prop::kFontStyle, 700 | prop::kFontStyleItalic},
        {prop::kBevelOuter, 1},
        {prop::kBevelInner, -1},
        {prop::kBevelStyle, 3}},
       nullptr,
       [](const WinRecord& r) {
         EXPECT_EQ(+r.type, 8);
         EXPECT_EQ(+r.hide, 1);
         EXPECT_EQ(+r.disable, 1);
         EXPECT_EQ(+r.skip, 1);
         EXPECT_EQ(r.scroll, "1");
         EXPECT_EQ(+r.transparent, 1);
         EXPECT_EQ(+r.required, 1);
         EXPECT_EQ(+r.read_only, 1);
         EXPECT_EQ(+r.password, 1);
         EXPECT_EQ(+r.flat, 1);
         EXPECT_EQ(engine::ColourFromField(r.text_color), prop::kNoColour);
         EXPECT_EQ(+r.background, prop::Rgb(255, 255, 255));
         EXPECT_EQ(+r.selected_text, 5);
         EXPECT_EQ(+r.selected_fill, 6);
         EXPECT_EQ(r.help, "Help");
         EXPECT_EQ(r.message, "Message");
         EXPECT_EQ(r.cursor, "IBEAM");
         EXPECT_EQ(r.icon, "i.ico");
         EXPECT_EQ(r.horizontal, "1");
         EXPECT_EQ(+r.vertical, 1);
         EXPECT_EQ(r.typeface, "Arial");
         EXPECT_EQ(+r.font_size, 10);
         EXPECT_EQ(+r.charset, 204);
         EXPECT_EQ(+r.font_style, 700 | prop::kFontStyleItalic);
         EXPECT_EQ(+r.outer, 1);
         EXPECT_EQ(+r.inner, -1);
         EXPECT_EQ(+r.style, 3);
       }},
  };
  return cases;
}

// The fields capture must never touch, set to recognisable values.
void PresetUntouched(WinRecord& r) {
  r.uid = 41;
  r.procedure_name = "Main";
  r.unique_marker = "FLAT";
  r.control_label = "?X";
  r.feq = 99;
  r.order = 98;
  r.description = "kept";
  r.font_color = 12;
  r.drop_width = 13;
  r.frame_type = 2;
  r.use_coordinates = 1;
  r.list_box_format = "kept";
  r.use_blob = 1;
}

void ExpectUntouched(const WinRecord& r) {
  EXPECT_EQ(+r.uid, 41u);
  EXPECT_EQ(r.procedure_name, "Main");
  EXPECT_EQ(r.unique_marker, "FLAT");
  EXPECT_EQ(r.control_label, "?X");
  EXPECT_EQ(+r.feq, 99);
  EXPECT_EQ(+r.order, 98);
  EXPECT_EQ(r.description, "kept");
  EXPECT_EQ(+r.font_color, 12);
  EXPECT_EQ(+r.drop_width, 13);
  EXPECT_EQ(+r.frame_type, 2);
  EXPECT_EQ(+r.use_coordinates, 1);
  EXPECT_EQ(r.list_box_format, "kept");
  EXPECT_EQ(+r.use_blob, 1);
}

TEST(CaptureControl, ReadsEachControlTypeAsTabled) {
  for (const CaptureCase& c : CaptureCases()) {
    SCOPED_TRACE(c.name);
    WindowCloser closer{rt::OpenWindow(0, "CAPTURE")};
    rt::Window& w = *closer.window;
    ASSERT_TRUE(w.AddControl(testing::ControlSpecOf(kFeq, c.type, "?X")).ok());
    for (const auto& [code, value] : c.properties) ASSERT_TRUE(w.Set(kFeq, code, value).ok());
    WinRecord r;
    PresetUntouched(r);
    if (c.preset) c.preset(r);
    CaptureControl(w, kFeq, r);
    ExpectUntouched(r);
    c.check(r);
  }
}

TEST(CaptureControl, ReadsTheWindowOnly) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, rt::Value>> properties;
    std::function<void(const WinRecord&)> check;
  };
  const Case cases[] = {
      {"every window field",
       {{prop::kLayout, 1},
        {prop::kIcon, "app.ico"},
        {prop::kWallpaper, "paper.png"},
        {prop::kWallpaperTiled, 1},
        {prop::kFillColour, 255},
        {prop::kGradientEndColour, "65280"},
        {prop::kGradientType, "3"},
        {prop::kFontFace, "Arial"},
        {prop::kFontSize, 9},
        {prop::kFontCharset, 1},
        {prop::kFontStyle, 400},
        {prop::kText, "Title"},
        {prop::kXPos, 50},
        {prop::kBackgroundColour, 7}},
       [](const WinRecord& r) {
         EXPECT_EQ(+r.type, 0);
         EXPECT_EQ(+r.layout, 1);
         EXPECT_EQ(r.icon, "app.ico");
         EXPECT_EQ(r.wallpaper, "paper.png");
         EXPECT_EQ(+r.wallpaper_mode, 2);
         EXPECT_EQ(r.lower, "255");
         EXPECT_EQ(r.upper, "65280");
         EXPECT_EQ(r.step, "3");
         EXPECT_EQ(r.typeface, "Arial");
         EXPECT_EQ(+r.font_size, 9);
         EXPECT_EQ(+r.charset, 1);
         EXPECT_EQ(+r.font_style, 400);
         // Title, position and colours are not captured.
         EXPECT_EQ(r.control_text, "preset");
         EXPECT_EQ(+r.x, 11);
         EXPECT_EQ(+r.background, 12);
       }},
      {"no wallpaper, layout not 1: both stay as the buffer held them",
       {{prop::kLayout, 2}},
       [](const WinRecord& r) {
         EXPECT_EQ(r.wallpaper, "old.png");
         EXPECT_EQ(+r.wallpaper_mode, 1);
         EXPECT_EQ(+r.layout, 2);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowCloser closer{rt::OpenWindow(0, "CAPTURE")};
    rt::Window& w = *closer.window;
    for (const auto& [code, value] : c.properties) ASSERT_TRUE(w.Set(0, code, value).ok());
    WinRecord r;
    PresetUntouched(r);
    r.type = 9;
    r.control_text = "preset";
    r.x = 11;
    r.background = 12;
    r.wallpaper = "old.png";
    r.wallpaper_mode = 1;
    r.layout = 2;
    CaptureControl(w, 0, r);
    ExpectUntouched(r);
    c.check(r);
  }
}

TEST(CaptureControl, ReadsDialogUnitsAndLeavesPixelsAtZero) {
  WindowCloser closer{rt::OpenWindow(0, "CAPTURE")};
  rt::Window& w = *closer.window;
  ASSERT_TRUE(w.AddControl(testing::ControlSpecOf(kFeq, ControlType::kButton, "?B")).ok());
  ASSERT_TRUE(w.Set(0, prop::kPixels, 1).ok());
  ASSERT_TRUE(w.Set(kFeq, prop::kXPos, 30).ok());  // pixels; 8-point cells: 1.5 px per unit
  WinRecord r;
  CaptureControl(w, kFeq, r);
  EXPECT_EQ(+r.x, 20);
  EXPECT_EQ(w.Get(0, prop::kPixels).AsInt(), 0);
}

TEST(CaptureGeometry, RefreshesOnlyTheGeometry) {
  WindowCloser closer{rt::OpenWindow(0, "CAPTURE")};
  rt::Window& w = *closer.window;
  ASSERT_TRUE(w.AddControl(testing::ControlSpecOf(kFeq, ControlType::kButton, "?B")).ok());
  ASSERT_TRUE(w.Set(kFeq, prop::kXPos, 8).ok());
  ASSERT_TRUE(w.Set(kFeq, prop::kWidth, 30).ok());
  ASSERT_TRUE(w.Set(kFeq, prop::kText, "Live").ok());
  WinRecord r;
  r.control_text = "Stored";
  r.height_type = 0;
  CaptureGeometry(w, kFeq, r);
  EXPECT_EQ(+r.x, 8);
  EXPECT_EQ(+r.width, 30);
  EXPECT_EQ(+r.width_type, 2);
  EXPECT_EQ(+r.height_type, 1);
  EXPECT_EQ(r.control_text, "Stored");
}

}  // namespace
}  // namespace twiq
