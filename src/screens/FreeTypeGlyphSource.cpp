#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <string>

#include "rxt4/data/Strings.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4 {

namespace {

// Families tried in order: the instrument's own font where installed, then the
// metric-compatible IPA Gothic that Debian ships.
constexpr const char* kFontFamilies[] = {"MS Gothic", "ＭＳ ゴシック", "IPAGothic"};

bool FamilyMatches(FcPattern* font, const char* family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0) return true;
  return false;
}

// The file of the first installed family, or empty.
std::string FindFontFile() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string file;
  for (const char* family : kFontFamilies) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (pattern == nullptr) continue;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(config, pattern, &result);
    if (font != nullptr) {
      FcChar8* path = nullptr;
      if (FamilyMatches(font, family) && FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch)
        file = reinterpret_cast<const char*>(path);
      FcPatternDestroy(font);
    }
    FcPatternDestroy(pattern);
    if (!file.empty()) break;
  }
  FcConfigDestroy(config);
  return file;
}

}  // namespace

struct FreeTypeGlyphSource::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  std::string file;

  ~Impl() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

FreeTypeGlyphSource::FreeTypeGlyphSource(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

FreeTypeGlyphSource::~FreeTypeGlyphSource() = default;

std::unique_ptr<FreeTypeGlyphSource> FreeTypeGlyphSource::OpenDefault(std::string* error) {
  const std::string file = FindFontFile();
  if (file.empty()) {
    if (error != nullptr) *error = Text(StringId::ScreenFontMissing);
    return nullptr;
  }
  return OpenFile(file, error);
}

std::unique_ptr<FreeTypeGlyphSource> FreeTypeGlyphSource::OpenFile(const std::filesystem::path& file,
                                                                   std::string* error) {
  auto impl = std::make_unique<Impl>();
  impl->file = file.string();
  if (FT_Init_FreeType(&impl->library) != 0) {
    impl->library = nullptr;
    if (error != nullptr) *error = Text(StringId::ScreenFontInit);
    return nullptr;
  }
  if (FT_New_Face(impl->library, impl->file.c_str(), 0, &impl->face) != 0) {
    impl->face = nullptr;
    if (error != nullptr) *error = FillIn(Text(StringId::ScreenFontOpen), {impl->file});
    return nullptr;
  }
  if (FT_Select_Charmap(impl->face, FT_ENCODING_UNICODE) != 0) {
    if (error != nullptr) *error = FillIn(Text(StringId::ScreenFontNoUnicode), {impl->file});
    return nullptr;
  }
  return std::unique_ptr<FreeTypeGlyphSource>(new FreeTypeGlyphSource(std::move(impl)));
}

std::string FreeTypeGlyphSource::Describe() const { return impl_->file; }

GlyphBitmap FreeTypeGlyphSource::Render(char32_t code, FontCell cell, int cells) const {
  GlyphBitmap glyph;
  cells = std::max(cells, 1);
  glyph.width = cells * cell.width;
  glyph.height = cell.height;
  glyph.ink.assign(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height), 0);
  if (cell.height <= 0 || cell.width <= 0) return glyph;

  FT_Face face = impl_->face;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(cell.height)) != 0) return glyph;
  // A half-width glyph of the face is half its height wide; narrow cells condense it.
  const double natural = cell.height / 2.0;
  const double scaleX = std::min(1.0, cell.width / natural);
  FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(scaleX * 0x10000)), 0, 0, 0x10000};
  FT_Set_Transform(face, &matrix, nullptr);
  const FT_Error loaded = FT_Load_Char(face, code, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO);
  FT_Set_Transform(face, nullptr, nullptr);
  if (loaded != 0) return glyph;
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return glyph;

  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  // The face's ascender rounds up (22 of 24 pixels for IPA Gothic); a baseline at
  // seven eighths of the cell keeps the glyphs inside their cells.
  const int baseline = static_cast<int>(std::lround(cell.height * 7.0 / 8.0));
  const int advance = static_cast<int>(slot->advance.x >> 6);
  const int originX = (glyph.width - advance) / 2;
  const int left = originX + slot->bitmap_left;
  const int top = baseline - slot->bitmap_top;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.buffer == nullptr) return glyph;
  for (unsigned int row = 0; row < bitmap.rows; ++row) {
    const int y = top + static_cast<int>(row);
    if (y < 0 || y >= glyph.height) continue;
    const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    for (unsigned int col = 0; col < bitmap.width; ++col) {
      const int x = left + static_cast<int>(col);
      if (x < 0 || x >= glyph.width) continue;
      if ((line[col >> 3] & (0x80u >> (col & 7))) != 0) glyph.ink[static_cast<std::size_t>(y * glyph.width + x)] = 1;
    }
  }
  return glyph;
}

}  // namespace rxt4
