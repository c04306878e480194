#include "twiqlib/engine/capture.h"

#include "runtime/window/property_codes.h"
#include "twiqlib/engine/property_io.h"
#include "twiqlib/store/thread_context.h"

namespace twiq {
namespace {

namespace prop = rt::prop;
using engine::GetColour;
using engine::GetLong;
using engine::GetText;
using engine::IsSet;

constexpr int32_t kTypeList = 14;
constexpr int32_t kTypeCombo = 15;
constexpr int32_t kTypeToolbar = 128;

// The wallpaper of the window or a toolbar, only when it has one: a record keeps the name it
// held when the wallpaper was removed since.
void CaptureWallpaper(const rt::Window& window, int feq, WinRecord& record) {
  const std::string name = window.Get(feq, prop::kWallpaper).AsText();
  if (rt::IsBlank(name)) return;
  record.wallpaper = name;
  if (GetLong(window, feq, prop::kWallpaperCentred) == 1) {
    record.wallpaper_mode = 1;
  } else if (GetLong(window, feq, prop::kWallpaperTiled) == 1) {
    record.wallpaper_mode = 2;
  } else {
    record.wallpaper_mode = 0;
  }
}

void CaptureLayout(const rt::Window& window, int feq, WinRecord& record) {
  if (GetLong(window, feq, prop::kLayout) == 1) record.layout = 1;
}

void CaptureWindow(const rt::Window& window, WinRecord& record) {
  record.type = 0;
  CaptureLayout(window, 0, record);
  GetText(window, 0, prop::kIcon, record.icon);
  CaptureWallpaper(window, 0, record);
  GetText(window, 0, prop::kFillColour, record.lower);
  GetText(window, 0, prop::kGradientEndColour, record.upper);
  GetText(window, 0, prop::kGradientType, record.step);
  GetText(window, 0, prop::kFontFace, record.typeface);
  record.font_size = GetLong(window, 0, prop::kFontSize);
  record.charset = GetLong(window, 0, prop::kFontCharset);
  record.font_style = GetLong(window, 0, prop::kFontStyle);
}

// The justification and its indent: the first flag set, in the order left, right, centre,
// decimal.
void CaptureJustification(const rt::Window& window, int feq, WinRecord& record) {
  struct Kind {
    int flag, offset;
    int32_t value;
  };
  static constexpr Kind kKinds[] = {
      {prop::kLeftJustify, prop::kLeftOffset, 1},
      {prop::kRightJustify, prop::kRightOffset, 2},
      {prop::kCentreJustify, prop::kCentreOffset, 3},
      {prop::kDecimalJustify, prop::kDecimalOffset, 4},
  };
  for (const Kind& kind : kKinds) {
    if (IsSet(window, feq, kind.flag)) {
      record.justification = kind.value;
      record.offset = GetLong(window, feq, kind.offset);
      return;
    }
  }
  record.justification = 0;
  record.offset = 0;
}

int32_t FirstSet(const rt::Window& window, int feq, int first, int second) {
  if (IsSet(window, feq, first)) return 1;
  if (IsSet(window, feq, second)) return 2;
  return 0;
}

// Width or height type: 1 default size, else 2 explicit size, else 0 Full, else `current`.
int32_t SizeType(const rt::Window& window, int feq, int32_t no_size, int32_t size,
                 int32_t current) {
  if (no_size != 0) return 1;
  if (size != 0) return 2;
  if (IsSet(window, feq, prop::kFull)) return 0;
  return current;
}

void CaptureOneControl(const rt::Window& window, int feq, WinRecord& r) {
  r.type = GetLong(window, feq, prop::kType);
  GetText(window, feq, prop::kText, r.control_text);
  r.flat = GetLong(window, feq, prop::kFlat);
  CaptureJustification(window, feq, r);
  CaptureLayout(window, feq, r);
  r.hide = GetLong(window, feq, prop::kHidden);
  r.disable = GetLong(window, feq, prop::kDisabled);
  r.skip = GetLong(window, feq, prop::kSkip);
  GetText(window, feq, prop::kScroll, r.scroll);
  r.transparent = GetLong(window, feq, prop::kTransparent);
  r.word_case = FirstSet(window, feq, prop::kUppercase, prop::kCapitalise);
  r.entry_mode = FirstSet(window, feq, prop::kInsertMode, prop::kOverwriteMode);
  r.required = GetLong(window, feq, prop::kRequired);
  r.read_only = GetLong(window, feq, prop::kReadOnly);
  r.password = GetLong(window, feq, prop::kPasswordEntry);
  r.text_color = GetColour(window, feq, prop::kFontColour);
  r.background = GetColour(window, feq, prop::kBackgroundColour);
  r.selected_text = GetColour(window, feq, prop::kSelectedTextColour);
  r.selected_fill = GetColour(window, feq, prop::kSelectedFillColour);
  CaptureGeometry(window, feq, r);
  GetText(window, feq, prop::kTip, r.tip);
  GetText(window, feq, prop::kHelpId, r.help);
  GetText(window, feq, prop::kStatusMessage, r.message);
  GetText(window, feq, prop::kCursor, r.cursor);
  GetText(window, feq, prop::kIcon, r.icon);
  GetText(window, feq, prop::kHScroll, r.horizontal);
  r.vertical = GetLong(window, feq, prop::kVScroll);
  r.boxed = GetLong(window, feq, prop::kBoxed);
  r.single = GetLong(window, feq, prop::kSingleLine);
  r.delay = GetLong(window, feq, prop::kDelay);
  r.repeat = GetLong(window, feq, prop::kRepeat);
  GetText(window, feq, prop::kRangeLow, r.lower);
  GetText(window, feq, prop::kRangeHigh, r.upper);
  GetText(window, feq, prop::kStep, r.step);
  r.drop = GetLong(window, feq, prop::kDropCount);
  GetText(window, feq, prop::kFontFace, r.typeface);
  r.font_size = GetLong(window, feq, prop::kFontSize);
  r.charset = GetLong(window, feq, prop::kFontCharset);
  r.font_style = GetLong(window, feq, prop::kFontStyle);
  r.outer = GetLong(window, feq, prop::kBevelOuter);
  r.inner = GetLong(window, feq, prop::kBevelInner);
  r.style = GetLong(window, feq, prop::kBevelStyle);
  if (r.type == kTypeList || r.type == kTypeCombo) {
    r.angle = GetColour(window, feq, prop::kGridColour);
  }
  if (r.type == kTypeToolbar) CaptureWallpaper(window, feq, r);
}

}  // namespace

void CaptureGeometry(const rt::Window& window, int feq, WinRecord& record) {
  record.x = GetLong(window, feq, prop::kXPos);
  record.y = GetLong(window, feq, prop::kYPos);
  record.width = GetLong(window, feq, prop::kWidth);
  record.no_width = GetLong(window, feq, prop::kNoWidth);
  record.width_type = SizeType(window, feq, record.no_width, record.width, record.width_type);
  record.height = GetLong(window, feq, prop::kHeight);
  record.no_height = GetLong(window, feq, prop::kNoHeight);
  record.height_type = SizeType(window, feq, record.no_height, record.height, record.height_type);
}

void CaptureGeometry(const rt::Window& window, int feq) {
  CaptureGeometry(window, feq, Store().win);
}

void CaptureControl(rt::Window& window, int feq, WinRecord& record) {
  window.Set(0, prop::kPixels, 0);
  if (feq == 0) {
    CaptureWindow(window, record);
  } else {
    CaptureOneControl(window, feq, record);
  }
}

void CaptureControl(rt::Window& window, int feq) { CaptureControl(window, feq, Store().win); }

}  // namespace twiq
