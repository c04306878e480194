// Numeric property codes of the window runtime.
//
// Every attribute of a window or control is a property addressed by one of these codes. A
// property a control lacks reads as empty text or 0; a code not named here is stored and read
// back as set. Codes marked "derived" are computed by the runtime and ignore writes; codes
// marked "window" are meaningful on the window (field equate 0) only.
#ifndef RUNTIME_WINDOW_PROPERTY_CODES_H_
#define RUNTIME_WINDOW_PROPERTY_CODES_H_

#include <cstdint>
#include <optional>
#include <string_view>

namespace rt::prop {

// Text and identity.
inline constexpr int kText = 0x7C00;  // control text; window title
inline constexpr int kType = 0x7C01;  // derived: control type code (ControlType)
// Geometry, in the unit the window's kPixels selects.
inline constexpr int kXPos = 0x7C02;
inline constexpr int kYPos = 0x7C03;
inline constexpr int kWidth = 0x7C04;
inline constexpr int kHeight = 0x7C05;
// Justification: the flag and the indent that goes with it.
inline constexpr int kCentreJustify = 0x7C06;
inline constexpr int kCentreOffset = 0x7C07;
inline constexpr int kLeftJustify = 0x7C08;
inline constexpr int kLeftOffset = 0x7C09;
inline constexpr int kDecimalJustify = 0x7C0A;
inline constexpr int kDecimalOffset = 0x7C0B;
inline constexpr int kRightJustify = 0x7C0C;
inline constexpr int kRightOffset = 0x7C0D;
// Font.
inline constexpr int kFontFace = 0x7C10;
inline constexpr int kFontSize = 0x7C11;    // points
inline constexpr int kFontColour = 0x7C12;  // colour value
inline constexpr int kFontStyle = 0x7C13;   // weight (0..0FFFh) plus style bits below
inline constexpr int kFontCharset = 0x7A3A;
inline constexpr int kFontStyleItalic = 0x1000;
inline constexpr int kFontStyleUnderline = 0x2000;
inline constexpr int kFontStyleStrikeout = 0x4000;
// Spin boxes.
inline constexpr int kRangeLow = 0x7C14;   // text
inline constexpr int kRangeHigh = 0x7C15;  // text
inline constexpr int kStep = 0x7C83;       // text
// window: unit of kXPos..kHeight reads and writes: 0 dialog units, 1 pixels.
inline constexpr int kPixels = 0x7C1E;
inline constexpr int kMouseDownRow = 0x7C20;  // list row under the last press (1-based, 0 none)
inline constexpr int kGridColour = 0x7C29;
inline constexpr int kInsertMode = 0x7C57;
inline constexpr int kOverwriteMode = 0x7C58;
inline constexpr int kBoxed = 0x7C59;
inline constexpr int kCapitalise = 0x7C5A;
inline constexpr int kCursor = 0x7C5D;  // a 4-byte standard cursor code or a cursor file name
inline constexpr int kDisabled = 0x7C5F;
inline constexpr int kDropCount = 0x7C60;
inline constexpr int kFillColour = 0x7C61;  // also the gradient's start colour
inline constexpr int kChoiceList = 0x7C62;  // "|"-separated items of a drop list or combo
inline constexpr int kFull = 0x7C63;
inline constexpr int kHidden = 0x7C65;
inline constexpr int kHelpId = 0x7C66;
inline constexpr int kHScroll = 0x7C67;
inline constexpr int kIcon = 0x7C68;
inline constexpr int kStatusMessage = 0x7C73;
inline constexpr int kPasswordEntry = 0x7C7A;
inline constexpr int kReadOnly = 0x7C7B;
inline constexpr int kRequired = 0x7C7C;
inline constexpr int kScroll = 0x7C7F;
inline constexpr int kSkip = 0x7C81;
inline constexpr int kTransparent = 0x7C88;
inline constexpr int kUppercase = 0x7C89;
inline constexpr int kVScroll = 0x7C8B;
inline constexpr int kVisibleRows = 0x7C8E;    // derived: rows a list shows at its height
inline constexpr int kSelectedRow = 0x7C8F;    // list: selected row, 1-based (same as CHOICE)
inline constexpr int kClientHandle = 0x7C96;   // derived, window: handle of the client area
inline constexpr int kFollows = 0x7C99;        // write: move in the tab chain to directly after feq
inline constexpr int kAcceptAll = 0x7C9A;      // window: accept-all mode in progress
inline constexpr int kThumbPosition = 0x7C9E;  // list: scroll thumb, 0..100
inline constexpr int kTip = 0x7CA0;
inline constexpr int kVisible = 0x7CA7;                // derived: shown on screen
inline constexpr int kWindowHandle = 0x7CAB;           // derived: handle of the window or control
inline constexpr int kWindowProcedure = 0x7CB4;        // window: frame window procedure id
inline constexpr int kClientWindowProcedure = 0x7CB5;  // window: client-area procedure id
inline constexpr int kViewFilter = 0x7CB8;
inline constexpr int kDeferredMoves = 0x7CBD;  // runtime-wide: batch geometry changes
inline constexpr int kBevelOuter = 0x7CE4;
inline constexpr int kBevelInner = 0x7CE5;
// The colour of each edge of the bevel's rings, two bits per edge: for the outer ring bits 0-1
// the left edge, 2-3 the top, 4-5 the right, 6-7 the bottom; bits 8-15 the same for the inner
// ring. Per edge: 0 as the ring's sign says (raised: light top and left, dark bottom and
// right; sunk: the reverse), 1 light, 2 dark, 3 black. Style 0 is the plain bevel.
inline constexpr int kBevelStyle = 0x7CE6;
inline constexpr int kHandleFrame = 0x7CE7;  // region drawn as a frame-coloured handle
inline constexpr int kBackgroundColour = 0x7CFA;
inline constexpr int kSelectedTextColour = 0x7CFB;
inline constexpr int kSelectedFillColour = 0x7CFC;
inline constexpr int kAlertKey = 0x7D06;  // indexed 1..255: keycodes that raise alert-key events
// Gradients and wallpaper.
inline constexpr int kGradientEndColour = 0x7905;  // text
inline constexpr int kGradientType = 0x7906;       // text: 0 off, 1..8 (GradientKind)
inline constexpr int kFrameOption = 0x7900;        // window: frame behaviour option, 0 by default
inline constexpr int kSingleLine = 0x7A06;
inline constexpr int kRepeat = 0x7A08;
inline constexpr int kDelay = 0x7A0F;
inline constexpr int kFlat = 0x7A14;
inline constexpr int kWallpaper = 0x7A15;
inline constexpr int kWallpaperTiled = 0x7A16;
inline constexpr int kWallpaperCentred = 0x7A17;
inline constexpr int kNoWidth = 0x7A40;
inline constexpr int kNoHeight = 0x7A41;
inline constexpr int kClientYOffset = 0x7A44;  // derived, window: client area's y offset, pixels
inline constexpr int kLayout = 0x7A5A;         // 1: right-to-left reading order
// Runtime-own codes (no fixed value elsewhere): a control's contents and list format.
inline constexpr int kContents = 0x7F10;    // the value DISPLAY shows and UPDATE takes back
inline constexpr int kListFormat = 0x7F11;  // list column format, e.g. "80L(2)|M~Label~@s80@"
inline constexpr int kValue = 0x7F12;       // radio: value given to its option; check: true value
inline constexpr int kFalseValue = 0x7F13;  // check: value when cleared
inline constexpr int kParent = 0x7F14;      // derived: field equate of the parent control
inline constexpr int kLabel = 0x7F15;       // derived: the control's label (FIELDNAME)
inline constexpr int kFocus = 0x7F16;       // derived, window: field equate with the focus
// window: the smallest and largest client size the user may give it, in pixels whatever the
// Pixels setting; 0 sets no limit. Displays keep the user's resizing within them.
inline constexpr int kMinimumWidth = 0x7F17;
inline constexpr int kMinimumHeight = 0x7F18;
inline constexpr int kMaximumWidth = 0x7F19;
inline constexpr int kMaximumHeight = 0x7F1A;

// Colour values: red in the lowest byte, then green, then blue. kNoColour leaves the style's
// default.
inline constexpr int64_t kNoColour = 0xFF000000LL;
inline constexpr int64_t Rgb(int r, int g, int b) {
  return static_cast<int64_t>(r & 0xFF) | (static_cast<int64_t>(g & 0xFF) << 8) |
         (static_cast<int64_t>(b & 0xFF) << 16);
}

// The name of a code ("Text", "XPos", ...), for state dumps and messages; nullopt when unnamed.
std::optional<std::string_view> PropertyName(int code);

}  // namespace rt::prop

#endif  // RUNTIME_WINDOW_PROPERTY_CODES_H_
