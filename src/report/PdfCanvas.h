#pragma once
// PdfCanvas: the few drawing operations the report needs, on cairo's PDF surface,
// written to a staged file. Text is UTF-8 in the report font (IPAGothic through
// fontconfig, embedded as a subset); screen pictures are drawn pixel for pixel
// (nearest neighbour, no smoothing). Lengths are PDF points, y downward.

#include <string>
#include <string_view>

#include "rxt4/data/StagedFile.h"
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
  PdfCanvas(StagedFile& out, const std::string& title, std::string* fontWarning);
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

// Replaces every byte sequence that is not valid UTF-8 with U+FFFD (set folder names
// are whatever bytes the file system holds; cairo refuses invalid text).
std::string ValidUtf8(std::string_view text);

}  // namespace rxt4
