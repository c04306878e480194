// Installed font families, as fontconfig reports them.
#ifndef RUNTIME_FONTS_FONTS_H_
#define RUNTIME_FONTS_FONTS_H_

#include <string>
#include <vector>

namespace rt {

// One font family (a face name the user can pick) and what the system reports of it.
// Fields other than face_name and styles describe the family's representative file: a
// TrueType file when the family has one, then a regular-looking style (Regular, Book,
// Normal, Roman), then the first path in byte order.
struct FontFamily {
  std::string face_name;            // the family name, as fontconfig spells it
  std::vector<std::string> styles;  // every style name of the family's files, sorted, unique
  std::string format;               // fontconfig's font format: "TrueType", "CFF", "Type 1", ...
  bool true_type = false;           // format == "TrueType" (TrueType outlines)
  bool scalable = false;            // outline font, not a bitmap
  bool fixed_pitch = false;         // every glyph has the same advance (monospace, char cell)
  bool covers_latin1 = false;       // has a glyph for every printable Latin-1 character
  int char_count = 0;               // number of characters with a glyph
  std::string file;                 // path of the representative file
};

// Lists the installed font families, sorted by face name (ASCII case-insensitive), each name
// once (names that differ only in case are one family). A font file with several English
// family names (a typographic family and a legacy one such as "X Condensed") is listed under
// each of them; a family with names in several languages is listed under its English name,
// or under its first name when it has no English one.
//
// With `true_type_only`, only files in the TrueType format count: families without one are
// left out, and the styles and the representative of the others come from their TrueType
// files only.
//
// Returns an empty list when fontconfig cannot be initialised or no font is installed.
// Thread safe (fontconfig's own locking); each call reads the current font configuration.
std::vector<FontFamily> EnumerateFontFamilies(bool true_type_only);

}  // namespace rt

#endif  // RUNTIME_FONTS_FONTS_H_
