#include "rxt4/screens/ImageFiles.h"

#include <png.h>

#include <cstring>
#include <memory>
#include <new>

#include "rxt4/data/StagedFile.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

bool ValidView(const RgbImageView& image) {
  return image.width > 0 && image.height > 0 && image.pixels != nullptr &&
         image.stride >= static_cast<std::size_t>(image.width) * 3;
}

void SetError(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
}

// Writes the file's bytes staged: an interrupted or failed write leaves an earlier
// file of that name as it was and nothing under the name.
bool WriteImageFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes, std::string* error) {
  StagedFile out(file);
  if (!out.ok()) {
    SetError(error, FillIn(Text(StringId::FileCreateFailed), {file.string(), ReasonText(out.error())}));
    return false;
  }
  if (!out.Write(bytes.data(), bytes.size()) || !out.Commit()) {
    SetError(error, FillIn(Text(StringId::FileWriteFailed), {file.string(), ReasonText(out.error())}));
    return false;
  }
  return true;
}

}  // namespace

std::uint32_t BitmapRowBytes(int width, int bitsPerPixel) {
  if (width <= 0 || bitsPerPixel <= 0) return 0;
  const std::uint64_t bits = static_cast<std::uint64_t>(bitsPerPixel) * static_cast<std::uint64_t>(width) + 31;
  return static_cast<std::uint32_t>(bits / 32 * 4);
}

std::vector<std::uint8_t> EncodeBitmapFile(const RgbImageView& image, int bitsPerPixel) {
  if (!ValidView(image) || (bitsPerPixel != 24 && bitsPerPixel != 32)) return {};
  const std::uint32_t rowBytes = BitmapRowBytes(image.width, bitsPerPixel);
  const std::uint64_t imageBytes = static_cast<std::uint64_t>(rowBytes) * static_cast<std::uint64_t>(image.height);
  const std::uint64_t fileBytes = kFileHeaderBytes + kInfoHeaderBytes + imageBytes;
  if (fileBytes > 0xFFFFFFFFu) return {};
  std::vector<std::uint8_t> out(static_cast<std::size_t>(fileBytes), 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(fileBytes));
  Put32(out, 10, kFileHeaderBytes + kInfoHeaderBytes);  // no colour table above 8 bits per pixel
  Put32(out, 14, kInfoHeaderBytes);
  Put32(out, 18, static_cast<std::uint32_t>(image.width));
  Put32(out, 22, static_cast<std::uint32_t>(image.height));  // positive: rows stored bottom-up
  Put16(out, 26, 1);
  Put16(out, 28, static_cast<std::uint32_t>(bitsPerPixel));
  Put32(out, 30, 0);
  Put32(out, 34, static_cast<std::uint32_t>(imageBytes));
  const std::size_t bytesPerPixel = static_cast<std::size_t>(bitsPerPixel / 8);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* src = image.pixels + static_cast<std::size_t>(image.height - 1 - y) * image.stride;
    std::uint8_t* dst = out.data() + kFileHeaderBytes + kInfoHeaderBytes + static_cast<std::size_t>(y) * rowBytes;
    for (int x = 0; x < image.width; ++x) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
      src += 3;
      dst += bytesPerPixel;
    }
  }
  return out;
}

bool WriteBitmapFile(const std::filesystem::path& file, const RgbImageView& image, int bitsPerPixel,
                     std::string* error) {
  const std::vector<std::uint8_t> bytes = EncodeBitmapFile(image, bitsPerPixel);
  if (bytes.empty()) {
    SetError(error, "the image cannot be stored as a bitmap");
    return false;
  }
  return WriteImageFile(file, bytes, error);
}

namespace {

void PngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  if (error != nullptr) *error = message;
  png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// No exception may cross libpng's frames: a failed allocation becomes a libpng error.
void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  bool appended = true;
  try {
    out->insert(out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    appended = false;
  }
  if (!appended) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

// Kept free of C++ objects with destructors: libpng leaves it by longjmp on error.
// Appends the file's bytes to *memory.
bool EncodePng(std::vector<std::uint8_t>* memory, const RgbImageView& image, std::string* message) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, message, PngError, PngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, memory, AppendToVector, FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // Screens are large flat areas of few colours: unfiltered rows compress about as
  // well as filtered ones and skip the filter search.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y)
    png_write_row(png, image.pixels + static_cast<std::size_t>(y) * image.stride);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePngFile(const std::filesystem::path& file, const RgbImageView& image, std::string* error) {
  if (!ValidView(image)) {
    SetError(error, "the image is empty");
    return false;
  }
  const std::vector<std::uint8_t> bytes = EncodePngFile(image);
  if (bytes.empty()) {
    SetError(error, "cannot write " + file.string() + ": PNG encoding failed");
    return false;
  }
  return WriteImageFile(file, bytes, error);
}

std::vector<std::uint8_t> EncodePngFile(const RgbImageView& image) {
  std::vector<std::uint8_t> bytes;
  std::string message;
  if (!ValidView(image) || !EncodePng(&bytes, image, &message)) return {};
  return bytes;
}

}  // namespace rxt4
