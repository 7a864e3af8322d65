#include "rxt4/screens/Surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "rxt4/data/Sjis.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4 {

Surface::Surface(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 255) {}

Rgb Surface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kWhite;
  const std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3];
  return {p[0], p[1], p[2]};
}

void Surface::Paint(int x, int y, Rgb colour) {
  std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3];
  p[0] = colour.r;
  p[1] = colour.g;
  p[2] = colour.b;
}

void Surface::SetPixel(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Paint(x, y, colour);
}

void Surface::Fill(Rgb colour) { FillRect(0, 0, width_, height_, colour); }

void Surface::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  const int x0 = std::max(left, 0), x1 = std::min(right, width_);
  const int y0 = std::max(top, 0), y1 = std::min(bottom, height_);
  if (x0 >= x1 || y0 >= y1) return;
  const std::size_t span = static_cast<std::size_t>(x1 - x0) * 3;
  std::uint8_t* first = &pixels_[(static_cast<std::size_t>(y0) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x0)) * 3];
  if (colour.r == colour.g && colour.g == colour.b) {
    std::memset(first, colour.r, span);
  } else {
    for (std::size_t i = 0; i < span; i += 3) {
      first[i] = colour.r;
      first[i + 1] = colour.g;
      first[i + 2] = colour.b;
    }
  }
  // Every further row is a copy of the first.
  const std::size_t stride = static_cast<std::size_t>(width_) * 3;
  for (int y = y0 + 1; y < y1; ++y) std::memcpy(first + static_cast<std::size_t>(y - y0) * stride, first, span);
}

void Surface::FrameRect(int left, int top, int right, int bottom, Rgb colour) {
  if (right <= left || bottom <= top) return;
  FillRect(left, top, right, top + 1, colour);
  FillRect(left, bottom - 1, right, bottom, colour);
  FillRect(left, top, left + 1, bottom, colour);
  FillRect(right - 1, top, right, bottom, colour);
}

void Surface::InvertRect(int left, int top, int right, int bottom) {
  const int x0 = std::max(left, 0), x1 = std::min(right, width_);
  const int y0 = std::max(top, 0), y1 = std::min(bottom, height_);
  if (x0 >= x1 || y0 >= y1) return;
  const std::size_t span = static_cast<std::size_t>(x1 - x0) * 3;
  for (int y = y0; y < y1; ++y) {
    std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x0)) * 3];
    for (std::size_t i = 0; i < span; ++i) p[i] = static_cast<std::uint8_t>(~p[i]);
  }
}

namespace {

constexpr long long kLongLinePx = 1 << 16;

}  // namespace

bool Surface::ClipToBox(long long& x0, long long& y0, long long& x1, long long& y1) const {
  // Liang-Barsky against [-2, width + 1] x [-2, height + 1].
  const double minX = -2, minY = -2, maxX = width_ + 1.0, maxY = height_ + 1.0;
  const double dx = static_cast<double>(x1 - x0), dy = static_cast<double>(y1 - y0);
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {static_cast<double>(x0) - minX, maxX - static_cast<double>(x0), static_cast<double>(y0) - minY,
                       maxY - static_cast<double>(y0)};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
  }
  if (t0 > t1) return false;
  const double sx = static_cast<double>(x0), sy = static_cast<double>(y0);
  x0 = std::llround(sx + t0 * dx);
  y0 = std::llround(sy + t0 * dy);
  x1 = std::llround(sx + t1 * dx);
  y1 = std::llround(sy + t1 * dy);
  return true;
}

void Surface::LineTo(int x, int y) {
  // Bresenham from the current position; the end point itself stays unpainted.
  long long cx = position_.x, cy = position_.y;
  long long ex = x, ey = y;
  position_ = {x, y};
  if (std::max(std::llabs(ex - cx), std::llabs(ey - cy)) > kLongLinePx) {
    // A line from far outside would only spend time walking outside: cut it to a
    // box around the surface first (its end then lies outside and is unpainted anyway).
    if (!ClipToBox(cx, cy, ex, ey)) return;
  }
  const long long dx = std::llabs(ex - cx), dy = -std::llabs(ey - cy);
  const long long sx = cx < ex ? 1 : -1, sy = cy < ey ? 1 : -1;
  long long err = dx + dy;
  while (cx != ex || cy != ey) {
    if (cx >= 0 && cy >= 0 && cx < width_ && cy < height_) Paint(static_cast<int>(cx), static_cast<int>(cy), pen_);
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      cx += sx;
    }
    if (e2 <= dx) {
      err += dx;
      cy += sy;
    }
  }
}

void Surface::Polyline(std::span<const Point> points) {
  if (points.size() < 2) return;
  const Point saved = position_;
  MoveTo(points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i) LineTo(points[i].x, points[i].y);
  position_ = saved;  // a polyline neither uses nor moves the current position
}

void Surface::SelectFont(const FontSet& fonts, int index) {
  fonts_ = &fonts;
  fontIndex_ = FontSlot(index);
}

void Surface::TextOut(int x, int y, std::string_view sjis) {
  if (fonts_ == nullptr) return;
  const FontCell cell = FontCellOf(fontIndex_);
  std::size_t pos = 0;
  int cx = x;
  while (pos < sjis.size()) {
    std::size_t length = SjisCharLength(sjis, pos);
    length = std::clamp<std::size_t>(length, 1, sjis.size() - pos);
    const std::string_view character = sjis.substr(pos, length);
    const int cellWidth = static_cast<int>(length) * cell.width;
    if (cx >= width_ || cx + cellWidth <= 0 || y >= height_ || y + cell.height <= 0) {
      // Off the surface: only the advance matters.
      cx += cellWidth;
      pos += length;
      continue;
    }
    if (backgroundMode_ == BackgroundMode::Opaque) FillRect(cx, y, cx + cellWidth, y + cell.height, kTextBackground);
    const GlyphBitmap& glyph = fonts_->Glyph(fontIndex_, character);
    const int gx0 = std::max(0, -cx), gx1 = std::min(glyph.width, width_ - cx);
    const int gy0 = std::max(0, -y), gy1 = std::min(glyph.height, height_ - y);
    for (int gy = gy0; gy < gy1; ++gy) {
      const std::uint8_t* ink = glyph.ink.data() + static_cast<std::size_t>(gy) * static_cast<std::size_t>(glyph.width);
      for (int gx = gx0; gx < gx1; ++gx)
        if (ink[gx] != 0) Paint(cx + gx, y + gy, textColour_);
    }
    cx += cellWidth;
    pos += length;
  }
}

int Surface::TextWidth(std::string_view sjis) const {
  if (fonts_ == nullptr) return 0;
  return CellWidth(sjis) * FontCellOf(fontIndex_).width;
}

RgbImageView Surface::View() const {
  return {width_, height_, pixels_.data(), static_cast<std::size_t>(width_) * 3};
}

}  // namespace rxt4
