#include "rxt4/report/TrendChart.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <vector>

#include "PdfCanvas.h"  // ValidUtf8, ReportFontFace
#include "rxt4/data/Sjis.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {

namespace {

// The chart's font: the Japanese Gothic face of the report, through cairo's own lookup.
constexpr const char* kChartFamily = "IPAGothic";

struct Rgb {
  double r, g, b;
};
// Colours that stay apart in grey as well: the shapes carry the verdict either way.
constexpr Rgb kPassColour{0.10, 0.50, 0.22};
constexpr Rgb kCautionColour{0.80, 0.45, 0.00};
constexpr Rgb kFailColour{0.78, 0.10, 0.10};
constexpr Rgb kNoneColour{0.45, 0.45, 0.45};
constexpr Rgb kLimitColour{0.15, 0.15, 0.15};
constexpr Rgb kLineColour{0.55, 0.60, 0.70};
constexpr Rgb kGridColour{0.88, 0.88, 0.88};

constexpr double kMarkRadiusPx = 6;
constexpr double kTitleSizePx = 18;
constexpr double kTextSizePx = 12;

Rgb ColourOf(Verdict v) {
  switch (v) {
    case Verdict::Pass: return kPassColour;
    case Verdict::Caution: return kCautionColour;
    case Verdict::Fail: return kFailColour;
    case Verdict::None: return kNoneColour;
  }
  return kNoneColour;
}

std::string Display(std::string_view sjis) { return ValidUtf8(DecodeSjis(sjis)); }

std::string AxisNumber(double value, bool logarithmic) {
  char text[32];
  if (logarithmic) std::snprintf(text, sizeof text, "1E%d", static_cast<int>(std::lround(std::log10(value))));
  else std::snprintf(text, sizeof text, "%g", value);
  return text;
}

class Painter {
 public:
  explicit Painter(cairo_t* cr) : cr_(cr) {}

  void Colour(Rgb c) { cairo_set_source_rgb(cr_, c.r, c.g, c.b); }
  void Line(double x1, double y1, double x2, double y2, double width, bool dashed = false) {
    const double dash[] = {6, 4};
    cairo_set_dash(cr_, dash, dashed ? 2 : 0, 0);
    cairo_set_line_width(cr_, width);
    cairo_move_to(cr_, x1, y1);
    cairo_line_to(cr_, x2, y2);
    cairo_stroke(cr_);
    cairo_set_dash(cr_, nullptr, 0, 0);
  }
  void Text(double x, double y, std::string_view utf8, double size, double align = 0) {
    const std::string text = ValidUtf8(utf8);
    cairo_set_font_size(cr_, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, text.c_str(), &extents);
    cairo_move_to(cr_, x - extents.x_advance * align, y);
    cairo_show_text(cr_, text.c_str());
  }
  double TextWidth(std::string_view utf8, double size) {
    const std::string text = ValidUtf8(utf8);
    cairo_set_font_size(cr_, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, text.c_str(), &extents);
    return extents.x_advance;
  }
  // The verdict's mark centred on (x, y): ○ 合格, △ 注意, × 不合格, – 判定なし.
  void Mark(Verdict v, double x, double y) {
    const double r = kMarkRadiusPx;
    Colour(ColourOf(v));
    cairo_set_line_width(cr_, 2.2);
    switch (v) {
      case Verdict::Pass:
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, x, y, r, 0, 2 * std::numbers::pi);
        break;
      case Verdict::Caution:
        cairo_move_to(cr_, x, y - r);
        cairo_line_to(cr_, x + r, y + r * 0.8);
        cairo_line_to(cr_, x - r, y + r * 0.8);
        cairo_close_path(cr_);
        break;
      case Verdict::Fail:
        cairo_move_to(cr_, x - r, y - r);
        cairo_line_to(cr_, x + r, y + r);
        cairo_move_to(cr_, x + r, y - r);
        cairo_line_to(cr_, x - r, y + r);
        break;
      case Verdict::None:
        cairo_move_to(cr_, x - r, y);
        cairo_line_to(cr_, x + r, y);
        break;
    }
    cairo_stroke(cr_);
  }
  // A small filled arrow head at (x, y) pointing down (▼) or up (▲).
  void Arrow(double x, double y, bool down) {
    const double s = 4, d = down ? 1 : -1;
    cairo_move_to(cr_, x - s, y - s * d);
    cairo_line_to(cr_, x + s, y - s * d);
    cairo_line_to(cr_, x, y + s * d);
    cairo_close_path(cr_);
    cairo_fill(cr_);
  }

 private:
  cairo_t* cr_;
};

void Draw(cairo_t* cr, const TrendSeries& series, std::string_view profileName, TrendChartSize size) {
  const double width = size.widthPx, height = size.heightPx;
  Painter p(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  // The report's face, found through a fontconfig configuration that is released
  // again (cairo's own lookup keeps the library's default configuration for good).
  if (cairo_font_face_t* face = ReportFontFace()) {
    cairo_set_font_face(cr, face);
    cairo_font_face_destroy(face);  // the context holds its own reference
  } else {
    cairo_select_font_face(cr, kChartFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  }

  const TrendAxis axis = AxisOf(series);
  const bool dated = std::any_of(series.visits.begin(), series.visits.end(),
                                 [](const TrendVisit& v) { return !v.measuredAt.empty(); });
  const double left = 70, right = width - 110, top = 56, bottom = height - (dated ? 86 : 70);

  p.Colour({0, 0, 0});
  p.Text(left, 30, TrendChartTitle(series), kTitleSizePx);
  const std::string profile = FillIn(Text(StringId::TrendProfile), {profileName});
  p.Text(width - 16, 30, profile, kTextSizePx, 1);

  auto yOf = [&](double value) {
    const double f = axis.logarithmic ? (std::log10(value) - std::log10(axis.low)) / (std::log10(axis.high) - std::log10(axis.low))
                                      : (value - axis.low) / (axis.high - axis.low);
    return bottom - f * (bottom - top);
  };
  const std::size_t n = series.visits.size();
  const double step = n > 0 ? (right - left) / static_cast<double>(n) : 0;
  auto xOf = [&](std::size_t visit) { return left + step * (static_cast<double>(visit) + 0.5); };

  // The value grid and its numbers.
  std::vector<double> ticks;
  if (axis.logarithmic) {
    for (double v = axis.low; v <= axis.high * 1.0001; v *= 10) ticks.push_back(v);
  } else {
    const double span = axis.high - axis.low;
    const double tick = span <= 20 ? 2 : span <= 50 ? 5 : span <= 100 ? 10 : 20;
    for (double v = std::ceil(axis.low / tick) * tick; v <= axis.high + 1e-9; v += tick) ticks.push_back(v);
  }
  for (double v : ticks) {
    p.Colour(kGridColour);
    p.Line(left, yOf(v), right, yOf(v), 1);
    p.Colour({0.2, 0.2, 0.2});
    p.Text(left - 6, yOf(v) + 4, AxisNumber(v, axis.logarithmic), kTextSizePx, 1);
  }
  const std::string_view unit = ReadingUnit(series.query.reading);
  p.Text(left - 6, top - 10, unit.empty() ? ReadingName(series.query.reading) : unit, kTextSizePx, 1);

  // The limits (solid) and their margins (dashed), named at the right.
  auto limit = [&](double value, const std::string& label, bool dashed) {
    p.Colour(kLimitColour);
    p.Line(left, yOf(value), right, yOf(value), dashed ? 1 : 1.6, dashed);
    p.Text(right + 6, yOf(value) + 4, label, kTextSizePx);
  };
  const std::string margin = LimitNumberText(series.query.reading, series.marginDb);
  const Reading reading = series.query.reading;
  if (series.min) {
    limit(*series.min, FillIn(Text(StringId::TrendLimitMin), {LimitNumberText(reading, *series.min)}), false);
    if (series.marginDb > 0) limit(*series.min + series.marginDb, FillIn(Text(StringId::TrendMarginLine), {margin}), true);
  }
  if (series.max) {
    limit(*series.max, FillIn(Text(StringId::TrendLimitMax), {LimitNumberText(reading, *series.max)}), false);
    if (series.marginDb > 0) limit(*series.max - series.marginDb, FillIn(Text(StringId::TrendMarginLine), {margin}), true);
  }

  // The frame, and the visits along the bottom: as many labels as fit.
  p.Colour({0, 0, 0});
  p.Line(left, top, left, bottom, 1);
  p.Line(left, bottom, right, bottom, 1);
  double widest = 0;
  for (const TrendVisit& v : series.visits)
    widest = std::max({widest, p.TextWidth(v.setFolder, kTextSizePx), p.TextWidth(v.measuredAt, kTextSizePx)});
  const std::size_t every = step > 0 ? std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil((widest + 8) / step))) : 1;
  for (std::size_t i = 0; i < n; i += every) {
    p.Colour({0, 0, 0});
    p.Line(xOf(i), bottom, xOf(i), bottom + 4, 1);
    p.Text(xOf(i), bottom + 18, series.visits[i].setFolder, kTextSizePx, 0.5);
    if (!series.visits[i].measuredAt.empty()) p.Text(xOf(i), bottom + 34, series.visits[i].measuredAt, kTextSizePx, 0.5);
  }
  p.Text((left + right) / 2, height - 32, Text(StringId::TrendAxisVisits), kTextSizePx, 0.5);

  // The readings: a line from visit to visit, then every mark over it.
  p.Colour(kLineColour);
  cairo_set_line_width(cr, 1.5);
  bool open = false;
  for (std::size_t i : TrendLinePoints(series)) {
    const TrendPoint& pt = series.points[i];
    const double x = xOf(pt.visit), y = yOf(PlotValue(pt.result, axis));
    if (open) cairo_line_to(cr, x, y);
    else cairo_move_to(cr, x, y);
    open = true;
  }
  cairo_stroke(cr);
  bool outside = false;
  for (const TrendPoint& pt : series.points) {
    const double x = xOf(pt.visit), y = yOf(PlotValue(pt.result, axis));
    p.Mark(pt.result.verdict, x, y);
    if (pt.result.kind == ValueKind::BelowRange || pt.result.kind == ValueKind::AboveRange) {
      const bool below = pt.result.kind == ValueKind::BelowRange;
      p.Arrow(x, below ? y + kMarkRadiusPx + 7 : y - kMarkRadiusPx - 7, below);
      outside = true;
    }
  }

  // The legend.
  double x = left;
  const double y = height - 12;
  for (Verdict v : {Verdict::Pass, Verdict::Caution, Verdict::Fail, Verdict::None}) {
    p.Mark(v, x + kMarkRadiusPx, y - 4);
    p.Colour({0, 0, 0});
    p.Text(x + 2 * kMarkRadiusPx + 5, y, VerdictText(v), kTextSizePx);
    x += 2 * kMarkRadiusPx + 5 + p.TextWidth(VerdictText(v), kTextSizePx) + 18;
  }
  if (outside) p.Text(x + 8, y, Text(StringId::TrendOutsideRange), kTextSizePx);
}

cairo_status_t WriteToStaged(void* closure, const unsigned char* data, unsigned int length) {
  return static_cast<StagedFile*>(closure)->Write(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

std::string TrendChartTitle(const TrendSeries& series) {
  // The place as the instrument spells it, not as it was asked for.
  const bool shown = !series.points.empty();
  return FillIn(Text(StringId::TrendTitle), {Display(shown ? series.points.front().band : series.query.band),
                                             Display(shown ? series.points.front().channel : series.query.channel),
                                             ReadingName(series.query.reading)});
}

bool WriteTrendChartPng(const TrendSeries& series, std::string_view profileName, const std::filesystem::path& path,
                        std::string* reason, TrendChartSize size) {
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.widthPx, size.heightPx), cairo_surface_destroy);
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
  Draw(cr.get(), series, profileName, size);
  cairo_surface_flush(surface.get());
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
    if (reason) *reason = cairo_status_to_string(cairo_status(cr.get()));
    return false;
  }
  StagedFile out(path);
  const cairo_status_t written = out.ok() ? cairo_surface_write_to_png_stream(surface.get(), WriteToStaged, &out)
                                          : CAIRO_STATUS_WRITE_ERROR;
  if (!out.ok() || written != CAIRO_STATUS_SUCCESS || !out.Commit()) {
    if (reason) *reason = out.ok() ? cairo_status_to_string(written) : ReasonText(out.error());
    return false;
  }
  return true;
}

}  // namespace rxt4
