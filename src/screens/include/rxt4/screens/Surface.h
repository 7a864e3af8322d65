#pragma once
// The drawing surface of the screen area: an RGB pixel image with the drawing state
// of a device context (selected font, pen and text colours, background mode, current
// position). Every operation clips to the image; nothing drawn outside is a fault.
// Pixel rules: rectangles include their left and top edges and exclude their right
// and bottom edges; a line paints its start and not its end; a polyline paints every
// vertex but its last. No state is restored after an operation.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace rxt4 {

class FontSet;

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

struct Point {
  int x = 0;
  int y = 0;
};

// A read-only view of packed RGB pixels (3 bytes a pixel, rows top-down).
struct RgbImageView {
  int width = 0;
  int height = 0;
  const std::uint8_t* pixels = nullptr;
  std::size_t stride = 0;  // bytes from one row to the next
};

// How text output treats the cells behind the glyphs.
enum class BackgroundMode { Opaque, Transparent };

class Surface {
 public:
  // The instrument's 320 x 240 screen plus its right edge line.
  static constexpr int kScreenAreaWidth = 321;
  static constexpr int kScreenAreaHeight = 240;

  // A white surface of the given size (negative sizes count as 0).
  explicit Surface(int width = kScreenAreaWidth, int height = kScreenAreaHeight);

  int width() const { return width_; }
  int height() const { return height_; }

  // Colour of a pixel; white outside the surface.
  Rgb Pixel(int x, int y) const;
  // True when the pixel is black.
  bool IsBlack(int x, int y) const { return Pixel(x, y) == kBlack; }
  // Sets one pixel (ignored outside).
  void SetPixel(int x, int y, Rgb colour);
  // Paints the whole surface with one colour.
  void Fill(Rgb colour);

  // Fills the rectangle [left, right) x [top, bottom).
  void FillRect(int left, int top, int right, int bottom, Rgb colour);
  // Draws a one-pixel frame just inside the rectangle (GDI FrameRect).
  void FrameRect(int left, int top, int right, int bottom, Rgb colour);
  // Turns every pixel of the rectangle into its complement.
  void InvertRect(int left, int top, int right, int bottom);

  // Pen colour used by LineTo and Polyline.
  void SetPenColor(Rgb colour) { pen_ = colour; }
  // Sets the current position.
  void MoveTo(int x, int y) { position_ = {x, y}; }
  // Draws from the current position to (x, y), excluding (x, y), and moves there.
  void LineTo(int x, int y);
  // Paints every vertex and segment except the last vertex.
  void Polyline(std::span<const Point> points);
  void Polyline(std::initializer_list<Point> points) { Polyline(std::span<const Point>(points.begin(), points.size())); }
  Point position() const { return position_; }

  // Selects font index of a font set (indices outside 1..6 select font 0). The set
  // must outlive its selection.
  void SelectFont(const FontSet& fonts, int index);
  const FontSet* fontSet() const { return fonts_; }
  int fontIndex() const { return fontIndex_; }
  void SetTextColor(Rgb colour) { textColour_ = colour; }
  void SetBackgroundMode(BackgroundMode mode) { backgroundMode_ = mode; }
  BackgroundMode backgroundMode() const { return backgroundMode_; }
  // Draws Shift-JIS text with its top-left corner at (x, y) in the selected font:
  // one cell per byte, each character in its own cell(s); opaque mode paints the
  // cells in the background colour first. Nothing is drawn without a font.
  void TextOut(int x, int y, std::string_view sjis);
  // Width of a Shift-JIS text in pixels in the selected font (cells x cell width).
  int TextWidth(std::string_view sjis) const;

  // The pixels as a packed RGB view.
  RgbImageView View() const;
  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

 private:
  void Paint(int x, int y, Rgb colour);
  bool ClipToBox(long long& x0, long long& y0, long long& x1, long long& y1) const;

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
  Point position_{};
  Rgb pen_ = kBlack;
  Rgb textColour_ = kBlack;
  // Opaque text cells are painted white: no screen draws text on another colour.
  static constexpr Rgb kTextBackground = kWhite;
  BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
  const FontSet* fonts_ = nullptr;
  int fontIndex_ = 0;
};

}  // namespace rxt4
