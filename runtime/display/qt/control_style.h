// How the runtime's properties look in Qt: colours, text, fonts and justification.
//
// The properties are read from a snapshot's property map (window.h: WindowState,
// ControlState), where a property never set is absent. Pure functions; any thread, although
// the Qt types they return are used on the GUI thread only.
#ifndef RUNTIME_DISPLAY_QT_CONTROL_STYLE_H_
#define RUNTIME_DISPLAY_QT_CONTROL_STYLE_H_

#include <QColor>
#include <QFont>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/value/value.h"
#include "runtime/window/metrics.h"
#include "runtime/window/window.h"

namespace rt::qt {

using Properties = std::map<std::pair<int, int>, Value>;

// The stored value of (code, index), null when never set.
const Value* Find(const Properties& p, int code, int index = 0);
int64_t Int(const Properties& p, int code, int64_t absent = 0);
std::string Text(const Properties& p, int code);
bool Flag(const Properties& p, int code);

// A runtime colour value (red in the lowest byte) and back.
QColor ToQColor(int64_t colour);
int64_t FromQColor(const QColor& colour);
// The colour a property asks for: nullopt when it is absent or the "no colour" value, which
// leave the style's own colour.
std::optional<QColor> Colour(const Properties& p, int code);
// The same for a colour held as a value (number or its decimal text).
std::optional<QColor> ColourValue(const Value& v);

// Runtime text (bytes) as Qt shows it: valid UTF-8 is taken as such; other bytes are read in
// the code page of the font's character set (0 ANSI and unknown sets: Windows-1252; 161 Greek:
// Windows-1253; 204 Cyrillic: Windows-1251; ...), so legacy 8-bit text shows the characters
// its script means.
QString DecodeText(std::string_view bytes, int64_t charset);
// The character set of a control: its own FontCharset, else its window's, else 0.
int64_t CharsetOf(const Properties* control, const Properties& window);

// The font of a control (null: the window's own): face, size, style bits and character set
// come from the control where it sets them, else from the window, else 8-point "MS Sans Serif"
// (which fontconfig matches with an installed family). Sizes are points at 96 pixels per inch
// whatever the screen reports, so text fits the deterministic dialog-unit metrics everywhere.
QFont FontOf(const Properties* control, const Properties& window);

// The Qt family (and style, when it takes one) that draws the installed font family `face`
// as fontconfig names it. Qt knows most families by their own name; a family fontconfig also
// reports by a second name (such as "DejaVu Sans Light", a style of "DejaVu Sans") is drawn
// as that style of its first family. A face that is not installed is left to Qt, which
// substitutes an installed one through fontconfig. GUI thread; results are kept per face.
struct QtFace {
  QString family;
  QString style;  // empty: chosen by weight and slant
};
QtFace QtFaceOf(const QString& face);

// Horizontal justification of text (Left, Centre, Right, Decimal flags) and its indent in
// pixels (the offset that goes with the flag, in dialog units of `m`).
struct Justification {
  Qt::Alignment align = Qt::AlignLeft;
  int indent = 0;
};
Justification JustificationOf(const Properties& p, const FontMetrics& m,
                              Qt::Alignment absent = Qt::AlignLeft);

// A control's text for display: kUppercase shows it in capitals, kCapitalise with the first
// letter of each word in capitals.
QString CaseFolded(const QString& text, const Properties& p);

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_CONTROL_STYLE_H_
