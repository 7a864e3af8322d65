#include "PdfCanvas.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <librsvg/rsvg.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace rxt4 {

namespace {

// The report's font: the Japanese Gothic face the screens' texts come from.
constexpr const char* kReportFamily = "IPAGothic";
constexpr const char* kFallbackFamily = "sans-serif";

cairo_status_t WriteToStaged(void* closure, const unsigned char* data, unsigned int length) {
  return static_cast<StagedFile*>(closure)->Write(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

bool CoversJapanese(FcPattern* font) {
  FcLangSet* langs = nullptr;
  return FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch &&
         FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

struct FontFile {
  std::string path;
  int index = 0;
  std::string family;      // the first of its family names
  bool requested = false;  // one of its family names is the report's family
  bool japanese = false;
};

// A font answers to each of its family names: fontconfig lists them all, in the
// languages the font gives (IPA Gothic is also "IPAゴシック"), in an order that
// follows the locale.
bool HasFamily(FcPattern* font, const char* family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0) return true;
  return false;
}

// The report font's file (IPAGothic, else the best match for Japanese), through a
// fontconfig configuration of our own that is released again (as the screens' font
// lookup does): the library's default configuration would stay for the process.
std::optional<FontFile> FindReportFont() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return std::nullopt;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kReportFamily));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  std::optional<FontFile> found;
  FcChar8* path = nullptr;
  if (font != nullptr && FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch) {
    found.emplace();
    found->path = reinterpret_cast<const char*>(path);
    FcPatternGetInteger(font, FC_INDEX, 0, &found->index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch)
      found->family = reinterpret_cast<const char*>(family);
    found->requested = HasFamily(font, kReportFamily);
    found->japanese = CoversJapanese(font);
  }
  if (font != nullptr) FcPatternDestroy(font);
  FcConfigDestroy(config);
  return found;
}

// The FreeType face under a cairo font face, released with it (cairo may keep the
// font face in its caches after the document is done).
struct OwnedFace {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~OwnedFace() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

const cairo_user_data_key_t kOwnedFaceKey{};

void DestroyOwnedFace(void* owned) { delete static_cast<OwnedFace*>(owned); }

// The report font as a cairo font face; nullptr when no font can be opened.
cairo_font_face_t* OpenReportFace(std::optional<JobWarning>* warning) {
  const std::optional<FontFile> file = FindReportFont();
  auto owned = std::make_unique<OwnedFace>();
  if (!file || FT_Init_FreeType(&owned->library) != 0 ||
      FT_New_Face(owned->library, file->path.c_str(), file->index, &owned->face) != 0) {
    if (warning) *warning = JobWarning{JobWarning::Kind::NoFont, {}, 0};
    return nullptr;
  }
  if (warning && !file->requested)
    *warning = file->japanese ? JobWarning{JobWarning::Kind::FontSubstitute, file->family, 0}
                              : JobWarning{JobWarning::Kind::NoJapaneseFont, {}, 0};
  cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(owned->face, 0);
  if (cairo_font_face_set_user_data(face, &kOwnedFaceKey, owned.get(), DestroyOwnedFace) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    return nullptr;
  }
  owned.release();
  return face;
}

}  // namespace

cairo_font_face_t* ReportFontFace() { return OpenReportFace(nullptr); }

PdfCanvas::PdfCanvas(StagedFile& out, const std::string& title, std::optional<JobWarning>* fontWarning) {
  surface_ = cairo_pdf_surface_create_for_stream(WriteToStaged, &out, kPageWidthPt, kPageHeightPt);
  cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, ValidUtf8(title).c_str());
  cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "RXT4 Viewer");
  cr_ = cairo_create(surface_);
  face_ = OpenReportFace(fontWarning);
  if (face_ != nullptr)
    cairo_set_font_face(cr_, face_);
  else
    cairo_select_font_face(cr_, kFallbackFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_source_rgb(cr_, 0, 0, 0);
}

PdfCanvas::~PdfCanvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
  if (face_ != nullptr) cairo_font_face_destroy(face_);
}

bool PdfCanvas::ok() const {
  return cairo_status(cr_) == CAIRO_STATUS_SUCCESS && cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
}

std::string PdfCanvas::error() const {
  const cairo_status_t s =
      cairo_status(cr_) != CAIRO_STATUS_SUCCESS ? cairo_status(cr_) : cairo_surface_status(surface_);
  return cairo_status_to_string(s);
}

void PdfCanvas::SetFontSize(double points) { cairo_set_font_size(cr_, points); }

double PdfCanvas::TextWidth(std::string_view utf8) const {
  cairo_text_extents_t e{};
  cairo_text_extents(cr_, ValidUtf8(utf8).c_str(), &e);
  return e.x_advance;
}

void PdfCanvas::Text(double x, double y, std::string_view utf8) {
  if (utf8.empty()) return;
  cairo_move_to(cr_, x, y);
  cairo_show_text(cr_, ValidUtf8(utf8).c_str());
}

void PdfCanvas::TextRight(double x, double y, std::string_view utf8) { Text(x - TextWidth(utf8), y, utf8); }

void PdfCanvas::TextCentred(double x, double y, std::string_view utf8) { Text(x - TextWidth(utf8) / 2, y, utf8); }

void PdfCanvas::Clip(double x, double y, double w, double h) {
  cairo_save(cr_);
  cairo_rectangle(cr_, x, y, w, h);
  cairo_clip(cr_);
}

void PdfCanvas::Unclip() { cairo_restore(cr_); }

void PdfCanvas::Line(double x1, double y1, double x2, double y2, double width) {
  cairo_set_line_width(cr_, width);
  cairo_move_to(cr_, x1, y1);
  cairo_line_to(cr_, x2, y2);
  cairo_stroke(cr_);
}

void PdfCanvas::FillRect(double x, double y, double w, double h, double grey) {
  cairo_save(cr_);
  cairo_set_source_rgb(cr_, grey, grey, grey);
  cairo_rectangle(cr_, x, y, w, h);
  cairo_fill(cr_);
  cairo_restore(cr_);
}

void PdfCanvas::StrokeRect(double x, double y, double w, double h, double width) {
  cairo_set_line_width(cr_, width);
  cairo_rectangle(cr_, x, y, w, h);
  cairo_stroke(cr_);
}

namespace {

// Logos are small pictures: a file beyond this is refused rather than read.
constexpr long kMaxLogoBytes = 16L * 1024 * 1024;

struct PngReader {
  std::FILE* file = nullptr;
  long left = 0;
};

cairo_status_t ReadPng(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<PngReader*>(closure);
  if (static_cast<long>(length) > reader->left) return CAIRO_STATUS_READ_ERROR;
  if (std::fread(data, 1, length, reader->file) != length) return CAIRO_STATUS_READ_ERROR;
  reader->left -= static_cast<long>(length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool PdfCanvas::PngFile(const std::filesystem::path& file, double x, double y, double maxWidth, double maxHeight) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size > static_cast<std::uintmax_t>(kMaxLogoBytes)) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"), std::fclose);
  if (!in) return false;
  PngReader reader{in.get(), static_cast<long>(size)};
  cairo_surface_t* picture = cairo_image_surface_create_from_png_stream(ReadPng, &reader);
  const bool read = cairo_surface_status(picture) == CAIRO_STATUS_SUCCESS;
  const int w = read ? cairo_image_surface_get_width(picture) : 0;
  const int h = read ? cairo_image_surface_get_height(picture) : 0;
  if (read && w > 0 && h > 0) {
    const double scale = std::min({maxWidth / w, maxHeight / h, 1.0});
    cairo_save(cr_);
    cairo_translate(cr_, x, y);
    cairo_scale(cr_, scale, scale);
    cairo_set_source_surface(cr_, picture, 0, 0);
    cairo_rectangle(cr_, 0, 0, w, h);
    cairo_fill(cr_);
    cairo_restore(cr_);
  }
  cairo_surface_destroy(picture);
  return read && w > 0 && h > 0;
}

bool PdfCanvas::SvgFile(const std::filesystem::path& file, double x, double y, double maxWidth, double maxHeight) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size == 0 || size > static_cast<std::uintmax_t>(kMaxLogoBytes)) return false;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"), std::fclose);
    if (!in || std::fread(bytes.data(), 1, bytes.size(), in.get()) != bytes.size()) return false;
  }
  GError* error = nullptr;
  RsvgHandle* handle =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(bytes.data()), bytes.size(), &error);
  if (handle == nullptr) {
    if (error != nullptr) g_error_free(error);
    return false;
  }
  // Its own size when it gives one (fitted into the box, never enlarged), else the box.
  double w = maxWidth, h = maxHeight;
  gdouble iw = 0, ih = 0;
  if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &iw, &ih) && iw > 0 && ih > 0) {
    const double scale = std::min({maxWidth / iw, maxHeight / ih, 1.0});
    w = iw * scale;
    h = ih * scale;
  }
  const RsvgRectangle viewport{x, y, w, h};
  cairo_save(cr_);
  const bool drawn = rsvg_handle_render_document(handle, cr_, &viewport, &error) != FALSE;
  cairo_restore(cr_);
  if (error != nullptr) g_error_free(error);
  g_object_unref(handle);
  return drawn;
}

void PdfCanvas::SetInformation(const std::string& author, const std::string& subject, const std::string& keywords) {
  if (!author.empty()) cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_AUTHOR, ValidUtf8(author).c_str());
  if (!subject.empty())
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_SUBJECT, ValidUtf8(subject).c_str());
  if (!keywords.empty())
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_KEYWORDS, ValidUtf8(keywords).c_str());
}

int PdfCanvas::AddBookmark(int parent, const std::string& title, int page) {
  const std::string link = "page=" + std::to_string(page);
  return cairo_pdf_surface_add_outline(surface_, parent, ValidUtf8(title).c_str(), link.c_str(),
                                       static_cast<cairo_pdf_outline_flags_t>(0));
}

void PdfCanvas::Picture(const RgbImageView& image, double x, double y, double pointsPerPixel) {
  if (image.width <= 0 || image.height <= 0 || image.pixels == nullptr) return;
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
  if (cairo_surface_status(picture) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(picture);
    return;
  }
  cairo_surface_flush(picture);
  unsigned char* data = cairo_image_surface_get_data(picture);
  const int stride = cairo_image_surface_get_stride(picture);
  for (int row = 0; row < image.height; ++row) {
    const std::uint8_t* from = image.pixels + static_cast<std::size_t>(row) * image.stride;
    auto* to =
        reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(row) * static_cast<std::size_t>(stride));
    for (int col = 0; col < image.width; ++col, from += 3)
      to[col] = 0xFF000000u | std::uint32_t{from[0]} << 16 | std::uint32_t{from[1]} << 8 | from[2];
  }
  cairo_surface_mark_dirty(picture);

  cairo_save(cr_);
  cairo_translate(cr_, x, y);
  cairo_scale(cr_, pointsPerPixel, pointsPerPixel);
  cairo_set_source_surface(cr_, picture, 0, 0);
  // Each screen pixel stays a sharp square (the PDF image says: no interpolation).
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
  cairo_rectangle(cr_, 0, 0, image.width, image.height);
  cairo_fill(cr_);
  cairo_restore(cr_);
  cairo_surface_destroy(picture);
}

void PdfCanvas::NextPage() { cairo_show_page(cr_); }

bool PdfCanvas::Finish() {
  if (!finished_) {
    cairo_show_page(cr_);
    cairo_surface_finish(surface_);
    finished_ = true;
  }
  return ok();
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    bool valid = n != 0 && i + n <= text.size();
    std::uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1Fu) : n == 3 ? (c & 0x0Fu) : (c & 0x07u);
    for (std::size_t k = 1; valid && k < n; ++k) {
      const auto t = static_cast<unsigned char>(text[i + k]);
      valid = (t & 0xC0) == 0x80;
      cp = cp << 6 | (t & 0x3Fu);
    }
    // Over-long forms, surrogates and code points beyond U+10FFFF are invalid too.
    static constexpr std::uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (valid && n > 1) valid = cp >= kMinimum[n] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    if (valid && cp != 0) {
      out.append(text.substr(i, n));
      i += n;
    } else {
      out += "\xEF\xBF\xBD";
      i += valid ? n : 1;
    }
  }
  return out;
}

}  // namespace rxt4
