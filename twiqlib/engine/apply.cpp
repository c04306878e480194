#include "twiqlib/engine/apply.h"

#include "runtime/window/property_codes.h"
#include "twiqlib/engine/property_io.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_record.h"

namespace twiq {
namespace {

namespace prop = rt::prop;
using engine::SetColour;
using engine::SetLong;
using engine::SetText;

// Record type codes that select steps (the window runtime's Type codes).
enum : int32_t {
  kRegion = 4,
  kBox = 6,
  kEntry = 8,
  kButton = 9,
  kPrompt = 10,
  kOption = 11,
  kCheck = 12,
  kGroup = 13,
  kList = 14,
  kCombo = 15,
  kSpin = 16,
  kText = 17,
  kRadio = 21,
  kString = 1,
  kStringPicture = 2,
  kPanel = 39,
  kToolbar = 128,
};

bool Is(int32_t type, std::initializer_list<int32_t> types) {
  for (int32_t t : types) {
    if (t == type) return true;
  }
  return false;
}

// The wallpaper of the window or a toolbar; a blank name leaves all three properties alone.
void ApplyWallpaper(rt::Window& w, int feq, const WinRecord& r) {
  if (r.wallpaper.IsBlank()) return;
  SetText(w, feq, prop::kWallpaper, r.wallpaper);
  SetLong(w, feq, prop::kWallpaperCentred, r.wallpaper_mode == 1 ? 1 : 0);
  SetLong(w, feq, prop::kWallpaperTiled, r.wallpaper_mode == 2 ? 1 : 0);
}

void ApplyFont(rt::Window& w, int feq, const WinRecord& r) {
  SetText(w, feq, prop::kFontFace, r.typeface);
  SetLong(w, feq, prop::kFontSize, r.font_size);
  SetLong(w, feq, prop::kFontCharset, r.charset);
  SetLong(w, feq, prop::kFontStyle, r.font_style);
}

// Start colour, end colour and type, only when a gradient type is given.
void ApplyGradient(rt::Window& w, int feq, const WinRecord& r) {
  if (r.step.IsBlank()) return;
  SetText(w, feq, prop::kFillColour, r.lower);
  SetText(w, feq, prop::kGradientEndColour, r.upper);
  SetText(w, feq, prop::kGradientType, r.step);
}

void ApplyWindow(rt::Window& w, const WinRecord& r) {
  ApplyWallpaper(w, 0, r);
  SetText(w, 0, prop::kIcon, r.icon);
  ApplyFont(w, 0, r);
  ApplyGradient(w, 0, r);
}

// Strings are both codes the runtime gives them (1, and 2 for a string shown through a
// picture): both take a justification and its indent.
void ApplyJustification(rt::Window& w, int feq, const WinRecord& r) {
  const int32_t type = r.type;
  const int32_t j = r.justification;
  if (Is(type, {kButton, kCheck, kRadio})) {
    SetLong(w, feq, prop::kLeftJustify, j == 1 ? 1 : 0);
    SetLong(w, feq, prop::kRightJustify, j == 2 ? 1 : 0);
  } else if (Is(type, {kString, kStringPicture, kEntry, kList, kCombo, kSpin})) {
    switch (j) {
      case 1:
        SetLong(w, feq, prop::kLeftJustify, 1);
        SetLong(w, feq, prop::kLeftOffset, r.offset);
        break;
      case 2:
        SetLong(w, feq, prop::kRightJustify, 1);
        SetLong(w, feq, prop::kRightOffset, r.offset);
        break;
      case 3:
        SetLong(w, feq, prop::kCentreJustify, 1);
        SetLong(w, feq, prop::kCentreOffset, r.offset);
        break;
      case 4:
        SetLong(w, feq, prop::kDecimalJustify, 1);
        SetLong(w, feq, prop::kDecimalOffset, r.offset);
        break;
      default:
        for (int code :
             {prop::kCentreJustify, prop::kRightJustify, prop::kLeftJustify, prop::kDecimalJustify,
              prop::kRightOffset, prop::kLeftOffset, prop::kDecimalOffset, prop::kCentreOffset}) {
          SetLong(w, feq, code, 0);
        }
        break;
    }
  } else if (Is(type, {kPrompt, kText})) {
    SetLong(w, feq, prop::kLeftJustify, j == 1 ? 1 : 0);
    SetLong(w, feq, prop::kRightJustify, j == 2 ? 1 : 0);
    SetLong(w, feq, prop::kCentreJustify, j == 3 ? 1 : 0);
    if (type == kText) w.Display(feq);
  }
}

// Width or height by its type: 1 default size, 0 Full, 2 the explicit size; others nothing.
void ApplySize(rt::Window& w, int feq, int32_t type, int no_size_code, int size_code,
               int32_t size) {
  switch (type) {
    case 1:
      SetLong(w, feq, no_size_code, 1);
      break;
    case 0:
      SetLong(w, feq, prop::kFull, 1);
      break;
    case 2:
      SetLong(w, feq, size_code, size);
      break;
    default:
      break;
  }
}

void ApplyOneControl(rt::Window& w, int feq, const WinRecord& r) {
  const int32_t type = r.type;
  if (!r.control_text.IsBlank()) {
    w.Set(feq, prop::kText, "");
    SetText(w, feq, prop::kText, r.control_text);
  }
  SetLong(w, feq, prop::kFlat, r.flat);
  ApplyJustification(w, feq, r);
  if (r.layout == 1) SetLong(w, feq, prop::kLayout, 1);
  SetLong(w, feq, prop::kHidden, r.hide);
  SetLong(w, feq, prop::kDisabled, r.disable);
  SetLong(w, feq, prop::kSkip, r.skip);
  SetText(w, feq, prop::kScroll, r.scroll);
  SetLong(w, feq, prop::kTransparent, r.transparent);
  if (Is(type, {kEntry, kText})) {
    if (r.word_case == 1) SetLong(w, feq, prop::kUppercase, 1);
    if (r.word_case == 2) SetLong(w, feq, prop::kCapitalise, 1);
    if (r.entry_mode == 1) SetLong(w, feq, prop::kInsertMode, 1);
    if (r.entry_mode == 2) SetLong(w, feq, prop::kOverwriteMode, 1);
  }
  SetLong(w, feq, prop::kRequired, r.required);
  SetLong(w, feq, prop::kReadOnly, r.read_only);
  if (type == kEntry) SetLong(w, feq, prop::kPasswordEntry, r.password);
  SetColour(w, feq, prop::kFontColour, r.text_color);
  SetColour(w, feq, prop::kBackgroundColour, r.background);
  SetColour(w, feq, prop::kSelectedTextColour, r.selected_text);
  SetColour(w, feq, prop::kSelectedFillColour, r.selected_fill);
  SetLong(w, feq, prop::kXPos, r.x);
  SetLong(w, feq, prop::kYPos, r.y);
  ApplySize(w, feq, r.width_type, prop::kNoWidth, prop::kWidth, r.width);
  ApplySize(w, feq, r.height_type, prop::kNoHeight, prop::kHeight, r.height);
  if (Is(type, {kButton, kCheck, kRadio})) SetText(w, feq, prop::kIcon, r.icon);
  SetText(w, feq, prop::kTip, r.tip);
  SetText(w, feq, prop::kHelpId, r.help);
  SetText(w, feq, prop::kStatusMessage, r.message);
  if (Is(type, {kOption, kGroup, kText})) SetLong(w, feq, prop::kBoxed, r.boxed);
  if (type == kText) SetLong(w, feq, prop::kSingleLine, r.single);
  if (Is(type, {kButton, kSpin})) {
    SetLong(w, feq, prop::kDelay, r.delay);
    SetLong(w, feq, prop::kRepeat, r.repeat);
  }
  if (type == kSpin) {
    SetText(w, feq, prop::kRangeLow, r.lower);
    SetText(w, feq, prop::kRangeHigh, r.upper);
    SetText(w, feq, prop::kStep, r.step);
  }
  if (Is(type, {kList, kCombo})) {
    SetLong(w, feq, prop::kDropCount, r.drop);
    SetColour(w, feq, prop::kGridColour, r.angle);
  }
  ApplyFont(w, feq, r);
  if (Is(type, {kRegion, kOption, kGroup, kPanel})) {
    SetLong(w, feq, prop::kBevelOuter, r.outer);
    SetLong(w, feq, prop::kBevelInner, r.inner);
    SetLong(w, feq, prop::kBevelStyle, r.style);
  }
  SetText(w, feq, prop::kHScroll, r.horizontal);
  SetLong(w, feq, prop::kVScroll, r.vertical);
  if (type == kToolbar) ApplyWallpaper(w, feq, r);
  if (Is(type, {kRegion, kBox, kPanel, kToolbar})) ApplyGradient(w, feq, r);
}

}  // namespace

void ApplyControl(rt::Window& window, int feq) {
  SettingsFileHold hold;
  if (OpenSettingsFile(hold) != 0) return;
  const WinRecord& record = Store().win;
  if (feq == 0) {
    ApplyWindow(window, record);
  } else {
    ApplyOneControl(window, feq, record);
  }
  ReleaseSettingsFile(hold);
  window.Invalidate();
  if (feq != 0) window.Display(feq);
}

}  // namespace twiq
