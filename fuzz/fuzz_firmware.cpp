// Firmware image files of arbitrary bytes loaded and verified, and the Dec part's
// decompressor run on arbitrary streams with parameters from the input.
// Input: the whole input is the image file; for LzExpand byte 0 gives the offset
// bits (0..17, so invalid values too), byte 1 the length bits (0..16), bytes 2 and 3
// the destination size (at most 16 KiB), the rest the compressed stream.

#include <array>
#include <cstdint>
#include <fstream>
#include <span>
#include <vector>

#include "FuzzEntry.h"
#include "rxt4/link/FirmwareImage.h"
#include "rxt4/link/FirmwarePart.h"
#include "rxt4/link/LzExpand.h"

namespace rxt4::fuzz {
namespace {

constexpr std::size_t kMaxDestinationBytes = 16 * 1024;

void LoadImage(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) return;
  }
  CFirmwareImage image;
  const bool loaded = image.Load(file);
  if (loaded == image.Empty()) __builtin_trap();
  for (PartType type : kPartTypes) {
    const CFirmwarePart* part = image.Part(type);
    std::array<char, kVersionChars> version{};
    if ((part != nullptr) != image.Version(type, version)) __builtin_trap();
    if (part == nullptr && image.Size(type) != 0) __builtin_trap();
  }
}

void Expand(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return;
  const int offsetBits = data[0] % 18;
  const int lengthBits = data[1] % 17;
  const std::size_t destinationBytes = ((std::size_t{data[2]} << 8) | data[3]) % (kMaxDestinationBytes + 1);
  const std::span<const std::uint8_t> source(data + 4, size - 4);
  // A destination exactly as large as asked, so that a write past it is caught.
  std::vector<std::uint8_t> destination(destinationBytes);
  const std::uint64_t produced = LzExpand(destination, source, offsetBits, lengthBits);
  const bool validParameters = offsetBits >= 1 && offsetBits <= 16 && lengthBits >= 1 && lengthBits <= 15;
  if (!validParameters || source.empty()) {
    if (produced != 0) __builtin_trap();
    return;
  }
  if (produced > LzMaxExpandedBytes(source.size(), offsetBits, lengthBits)) __builtin_trap();
}

}  // namespace

RXT4_FUZZ_ENTRY(FuzzFirmware) {
  static const TempFolder folder("fuzz_firmware");
  LoadImage(folder.path() / "f.img", data, size);
  Expand(data, size);
  return 0;
}

}  // namespace rxt4::fuzz
