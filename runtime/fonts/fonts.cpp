#include "runtime/fonts/fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>

#include "runtime/value/text.h"

namespace rt {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct CharSetDeleter {
  void operator()(FcCharSet* c) const { FcCharSetDestroy(c); }
};

// Returns the string of `object` at `index`, or "" when there is none.
std::string GetString(FcPattern* font, const char* object, int index) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(font, object, index, &value) != FcResultMatch || value == nullptr) {
    return std::string();
  }
  return reinterpret_cast<const char*>(value);
}

int CountValues(FcPattern* font, const char* object) {
  int n = 0;
  FcValue v;
  while (FcPatternGet(font, object, n, &v) == FcResultMatch) ++n;
  return n;
}

bool IsRegularStyle(const std::string& style) {
  static constexpr std::string_view kRegular[] = {"Regular", "Book", "Normal", "Roman", "Standard"};
  for (std::string_view r : kRegular) {
    if (ClipEquals(style, r)) return true;
  }
  return false;
}

// One font file under one of its family names.
struct Candidate {
  std::string family;
  std::string style;
  std::string format;
  std::string file;
  bool scalable = false;
  bool fixed_pitch = false;
  bool covers_latin1 = false;
  int char_count = 0;

  // Ordering of representatives: smaller is preferred.
  auto Rank() const {
    return std::make_tuple(format != "TrueType", !IsRegularStyle(style), file, style);
  }
};

std::unique_ptr<FcCharSet, CharSetDeleter> Latin1Printable() {
  std::unique_ptr<FcCharSet, CharSetDeleter> set(FcCharSetCreate());
  if (!set) return set;
  for (FcChar32 c = 0x20; c <= 0xFF; ++c) {
    if (c < 0x7F || c >= 0xA0) FcCharSetAddChar(set.get(), c);
  }
  return set;
}

}  // namespace

std::vector<FontFamily> EnumerateFontFamilies(bool true_type_only) {
  if (!FcInit()) return {};
  std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
      FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_FONTFORMAT, FC_SCALABLE, FC_SPACING,
                       FC_CHARSET, FC_FILE, nullptr));
  if (!pattern || !objects) return {};
  std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
      FcFontList(nullptr, pattern.get(), objects.get()));
  if (!fonts) return {};
  auto latin1 = Latin1Printable();

  // Families by upper-cased name without trailing spaces, holding every candidate file. The
  // map's order is then exactly ClipCompare's order of the names.
  std::map<std::string, std::vector<Candidate>> families;
  for (int i = 0; i < fonts->nfont; ++i) {
    FcPattern* font = fonts->fonts[i];
    Candidate base;
    base.format = GetString(font, FC_FONTFORMAT, 0);
    if (true_type_only && base.format != "TrueType") continue;
    base.file = GetString(font, FC_FILE, 0);
    FcBool scalable = FcFalse;
    base.scalable = FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable;
    int spacing = FC_PROPORTIONAL;
    base.fixed_pitch = FcPatternGetInteger(font, FC_SPACING, 0, &spacing) == FcResultMatch &&
                       (spacing == FC_MONO || spacing == FC_CHARCELL);
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch && charset) {
      base.char_count = static_cast<int>(FcCharSetCount(charset));
      base.covers_latin1 = latin1 && FcCharSetIsSubset(latin1.get(), charset);
    }

    // The family names to list this file under: the English ones, else the first.
    int names = CountValues(font, FC_FAMILY);
    std::vector<int> chosen;
    for (int k = 0; k < names; ++k) {
      if (GetString(font, FC_FAMILYLANG, k) == "en") chosen.push_back(k);
    }
    if (chosen.empty() && names > 0) chosen.push_back(0);
    int styles = CountValues(font, FC_STYLE);
    for (int k : chosen) {
      Candidate c = base;
      c.family = GetString(font, FC_FAMILY, k);
      if (IsBlank(c.family)) continue;
      // fontconfig lists a file's style names in the order of its family names.
      c.style = GetString(font, FC_STYLE, k < styles ? k : 0);
      families[Upper(Clip(c.family))].push_back(std::move(c));
    }
  }

  std::vector<FontFamily> result;
  result.reserve(families.size());
  for (auto& [key, candidates] : families) {
    const Candidate& best = *std::min_element(
        candidates.begin(), candidates.end(),
        [](const Candidate& a, const Candidate& b) { return a.Rank() < b.Rank(); });
    FontFamily f;
    f.face_name = best.family;
    for (const Candidate& c : candidates) {
      if (!c.style.empty()) f.styles.push_back(c.style);
      // Names that differ only in case: keep one spelling, the same on every run.
      if (c.family < f.face_name) f.face_name = c.family;
    }
    std::sort(f.styles.begin(), f.styles.end());
    f.styles.erase(std::unique(f.styles.begin(), f.styles.end()), f.styles.end());
    f.format = best.format;
    f.true_type = best.format == "TrueType";
    f.scalable = best.scalable;
    f.fixed_pitch = best.fixed_pitch;
    f.covers_latin1 = best.covers_latin1;
    f.char_count = best.char_count;
    f.file = best.file;
    result.push_back(std::move(f));
  }
  return result;
}

}  // namespace rt
