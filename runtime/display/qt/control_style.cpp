#include "runtime/display/qt/control_style.h"

#include <fontconfig/fontconfig.h>
#include <iconv.h>

#include <QFontDatabase>
#include <mutex>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "runtime/value/text.h"
#include "runtime/window/property_codes.h"

namespace rt::qt {
namespace {

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int extra;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;  // cut off
    for (int k = 1; k <= extra; ++k) {
      const unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    static constexpr uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

const char* CodePage(int64_t charset) {
  switch (charset) {
    case 2:
      return "ISO-8859-1";  // symbol fonts map bytes to their own glyphs
    case 77:
      return "MACINTOSH";
    case 128:
      return "SHIFT_JIS";
    case 129:
      return "CP949";
    case 130:
      return "JOHAB";
    case 134:
      return "GBK";
    case 136:
      return "BIG5";
    case 161:
      return "CP1253";
    case 162:
      return "CP1254";
    case 177:
      return "CP1255";
    case 178:
      return "CP1256";
    case 186:
      return "CP1257";
    case 204:
      return "CP1251";
    case 222:
      return "CP874";
    case 238:
      return "CP1250";
    case 255:
      return "CP437";
    default:
      return "CP1252";
  }
}

// Bytes in a code page to UTF-16, with U+FFFD for what the page does not define.
QString FromCodePage(std::string_view bytes, const char* page) {
  iconv_t cd = iconv_open("UTF-8", page);
  if (cd == reinterpret_cast<iconv_t>(-1)) return QString::fromLatin1(bytes.data(), bytes.size());
  std::string out;
  out.resize(bytes.size() * 4 + 8);
  char* in_p = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char* out_p = out.data();
  size_t out_left = out.size();
  while (in_left > 0) {
    if (iconv(cd, &in_p, &in_left, &out_p, &out_left) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) break;
    // An undefined or cut-off byte: show the replacement character and go on.
    static constexpr char kReplacement[] = "\xEF\xBF\xBD";
    if (out_left < 3) break;
    std::copy(kReplacement, kReplacement + 3, out_p);
    out_p += 3;
    out_left -= 3;
    ++in_p;
    --in_left;
  }
  iconv_close(cd);
  return QString::fromUtf8(out.data(), static_cast<qsizetype>(out_p - out.data()));
}

// Qt names a family it has from several foundries "Family [foundry]".
QString WithoutFoundry(const QString& family) {
  const qsizetype bracket = family.indexOf(" [");
  return bracket < 0 ? family : family.left(bracket);
}

QtFace LookUpFace(const QString& face) {
  QtFace plain{face, QString()};
  for (const QString& f : QFontDatabase::families()) {
    if (WithoutFoundry(f).compare(face, Qt::CaseInsensitive) == 0) return plain;
  }
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return plain;
  const QByteArray utf8 = face.toUtf8();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return plain;
  QtFace found = plain;
  FcChar8* first = nullptr;
  FcChar8* style = nullptr;
  FcPatternGetString(match, FC_FAMILY, 0, &first);
  FcPatternGetString(match, FC_STYLE, 0, &style);
  FcChar8* name = nullptr;
  for (int i = 1; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (QString::fromUtf8(reinterpret_cast<const char*>(name)).compare(face, Qt::CaseInsensitive) ==
            0 &&
        first != nullptr) {
      found.family = QString::fromUtf8(reinterpret_cast<const char*>(first));
      if (style != nullptr) found.style = QString::fromUtf8(reinterpret_cast<const char*>(style));
      break;
    }
  }
  FcPatternDestroy(match);
  return found;
}

}  // namespace

QtFace QtFaceOf(const QString& face) {
  // Process-wide: fonts do not change while the program runs.
  static std::mutex mu;
  static std::map<QString, QtFace>* known = new std::map<QString, QtFace>;  // never destroyed
  std::lock_guard lock(mu);
  auto it = known->find(face.toLower());
  if (it != known->end()) return it->second;
  QtFace f = LookUpFace(face);
  known->emplace(face.toLower(), f);
  return f;
}

const Value* Find(const Properties& p, int code, int index) {
  auto it = p.find({code, index});
  return it == p.end() ? nullptr : &it->second;
}

int64_t Int(const Properties& p, int code, int64_t absent) {
  const Value* v = Find(p, code);
  return v ? v->AsInt() : absent;
}

std::string Text(const Properties& p, int code) {
  const Value* v = Find(p, code);
  return v ? v->AsText() : std::string();
}

bool Flag(const Properties& p, int code) {
  const Value* v = Find(p, code);
  return v != nullptr && v->AsNumber() != 0;
}

QColor ToQColor(int64_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

int64_t FromQColor(const QColor& colour) {
  return prop::Rgb(colour.red(), colour.green(), colour.blue());
}

std::optional<QColor> ColourValue(const Value& v) {
  if (v.is_text() && IsBlank(v.AsText())) return std::nullopt;
  const int64_t c = v.AsInt();
  // The "no colour" value and anything else beyond the 24 colour bits leave the default.
  if (c < 0 || c > 0xFFFFFF) return std::nullopt;
  return ToQColor(c);
}

std::optional<QColor> Colour(const Properties& p, int code) {
  const Value* v = Find(p, code);
  if (v == nullptr) return std::nullopt;
  return ColourValue(*v);
}

QString DecodeText(std::string_view bytes, int64_t charset) {
  if (IsValidUtf8(bytes))
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return FromCodePage(bytes, CodePage(charset));
}

int64_t CharsetOf(const Properties* control, const Properties& window) {
  if (control != nullptr && Find(*control, prop::kFontCharset)) {
    return Int(*control, prop::kFontCharset);
  }
  return Int(window, prop::kFontCharset);
}

QFont FontOf(const Properties* control, const Properties& window) {
  auto text_of = [&](int code) {
    std::string t = control ? Clip(Text(*control, code)) : std::string();
    if (t.empty()) t = Clip(Text(window, code));
    return t;
  };
  auto int_of = [&](int code) {
    int64_t n = control ? Int(*control, code) : 0;
    if (n == 0) n = Int(window, code);
    return n;
  };
  std::string face = text_of(prop::kFontFace);
  if (face.empty()) face = "MS Sans Serif";
  int64_t points = int_of(prop::kFontSize);
  if (points <= 0) points = 8;
  const int64_t style = int_of(prop::kFontStyle);
  const QtFace qt_face = QtFaceOf(DecodeText(face, CharsetOf(control, window)));
  QFont font(qt_face.family);
  if (!qt_face.style.isEmpty()) font.setStyleName(qt_face.style);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
  const int weight = static_cast<int>(style & 0xFFF);
  if (weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
  font.setItalic((style & prop::kFontStyleItalic) != 0);
  font.setUnderline((style & prop::kFontStyleUnderline) != 0);
  font.setStrikeOut((style & prop::kFontStyleStrikeout) != 0);
  return font;
}

Justification JustificationOf(const Properties& p, const FontMetrics& m, Qt::Alignment absent) {
  Justification j;
  auto indent = [&](int code) { return static_cast<int>(DialogXToPixels(Int(p, code), m)); };
  if (Flag(p, prop::kRightJustify)) {
    j.align = Qt::AlignRight;
    j.indent = indent(prop::kRightOffset);
  } else if (Flag(p, prop::kCentreJustify)) {
    j.align = Qt::AlignHCenter;
    j.indent = indent(prop::kCentreOffset);
  } else if (Flag(p, prop::kDecimalJustify)) {
    j.align = Qt::AlignRight;
    j.indent = indent(prop::kDecimalOffset);
  } else if (Flag(p, prop::kLeftJustify)) {
    j.align = Qt::AlignLeft;
    j.indent = indent(prop::kLeftOffset);
  } else {
    j.align = absent;
  }
  return j;
}

QString CaseFolded(const QString& text, const Properties& p) {
  if (Flag(p, prop::kUppercase)) return text.toUpper();
  if (!Flag(p, prop::kCapitalise)) return text;
  QString out = text;
  bool start = true;
  for (QChar& c : out) {
    if (c.isLetter()) {
      if (start) c = c.toUpper();
      start = false;
    } else {
      start = c.isSpace();
    }
  }
  return out;
}

}  // namespace rt::qt
