#pragma once
// Image files of a drawn screen: BMP files (24 or 32 bits per pixel,
// rows bottom-up, padded to 4 bytes) and PNG files. Files are written staged
// (StagedFile.h): a failure or an interruption never leaves a short file under the
// name, nor destroys an earlier one.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "rxt4/screens/Surface.h"

namespace rxt4 {

// Size in bytes of one bitmap pixel row: bits x width rounded up to 32 bits.
std::uint32_t BitmapRowBytes(int width, int bitsPerPixel);

// The whole bitmap file (file header, information header, rows bottom row first);
// empty for a bits-per-pixel value other than 24 or 32 or an empty image.
std::vector<std::uint8_t> EncodeBitmapFile(const RgbImageView& image, int bitsPerPixel = 24);

// Writes the bitmap file; false with the reason in *error when it cannot be written.
bool WriteBitmapFile(const std::filesystem::path& file, const RgbImageView& image, int bitsPerPixel = 24,
                     std::string* error = nullptr);

// The bytes of an 8-bit RGB PNG file of the image; empty for an empty image.
std::vector<std::uint8_t> EncodePngFile(const RgbImageView& image);

// Writes an 8-bit RGB PNG file; false with the reason in *error when it cannot be written.
bool WritePngFile(const std::filesystem::path& file, const RgbImageView& image, std::string* error = nullptr);

}  // namespace rxt4
