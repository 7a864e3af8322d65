#pragma once
// PdfCanvas: the few drawing operations the report needs, on cairo's PDF surface,
// written to a staged file. Text is UTF-8 in the report font (IPAGothic through
// fontconfig, embedded as a subset); screen pictures are drawn pixel for pixel
// (nearest neighbour, no smoothing). Lengths are PDF points, y downward.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "rxt4/data/StagedFile.h"
#include "rxt4/report/JobObserver.h"
#include "rxt4/screens/Surface.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo_font_face cairo_font_face_t;

namespace rxt4 {

class PdfCanvas {
 public:
  static constexpr double kPageWidthPt = 595.276;  // A4 portrait
  static constexpr double kPageHeightPt = 841.890;

  // Starts a document on out; *fontWarning says when no Japanese font was found.
  PdfCanvas(StagedFile& out, const std::string& title, std::optional<JobWarning>* fontWarning);
  ~PdfCanvas();
  PdfCanvas(const PdfCanvas&) = delete;
  PdfCanvas& operator=(const PdfCanvas&) = delete;

  // False once cairo has failed (a write error, or no memory); error() says why.
  bool ok() const;
  std::string error() const;

  void SetFontSize(double points);
  double TextWidth(std::string_view utf8) const;
  // Text with its baseline at y, starting at x (left), ending at x (right) or centred on x.
  void Text(double x, double y, std::string_view utf8);
  void TextRight(double x, double y, std::string_view utf8);
  void TextCentred(double x, double y, std::string_view utf8);
  // Restricts drawing to a rectangle until Unclip.
  void Clip(double x, double y, double w, double h);
  void Unclip();

  void Line(double x1, double y1, double x2, double y2, double width);
  void FillRect(double x, double y, double w, double h, double grey);
  void StrokeRect(double x, double y, double w, double h, double width);
  // A PNG file scaled to fit the box (never enlarged beyond 1 point per pixel), its
  // top-left corner at (x, y); false when it cannot be read as a PNG image.
  bool PngFile(const std::filesystem::path& file, double x, double y, double maxWidth, double maxHeight);
  // An SVG file drawn as vectors, fitted into the box the same way; false when it
  // cannot be read as SVG.
  bool SvgFile(const std::filesystem::path& file, double x, double y, double maxWidth, double maxHeight);

  // The document's information (UTF-8; empty ones are left out).
  void SetInformation(const std::string& author, const std::string& subject, const std::string& keywords);
  // A bookmark to page (from 1) under parent (0: the top); its id for children.
  int AddBookmark(int parent, const std::string& title, int page);
  // The picture with its top-left corner at (x, y), each pixel a square of pointsPerPixel.
  void Picture(const RgbImageView& image, double x, double y, double pointsPerPixel);

  // Ends the current page and begins the next.
  void NextPage();
  // Ends the document (the last page included); false when anything failed.
  bool Finish();

 private:
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  cairo_font_face_t* face_ = nullptr;
  bool finished_ = false;
};

// The report's font (IPAGothic, else the best Japanese match) as a cairo font face
// of its own, through a fontconfig configuration that is released again; nullptr when
// none can be opened. The caller destroys it.
cairo_font_face_t* ReportFontFace();

// Replaces every byte sequence that is not valid UTF-8 with U+FFFD (set folder names
// are whatever bytes the file system holds; cairo refuses invalid text).
std::string ValidUtf8(std::string_view text);

}  // namespace rxt4
