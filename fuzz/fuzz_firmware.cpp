// Firmware image files of arbitrary bytes loaded and verified, and the Dec part's
// decompressor run on arbitrary streams with parameters from the input.
// Input: the whole input is the image file; for LzExpand byte 0 gives the offset
// bits (0..17, so invalid values too), byte 1 the length bits (0..16), bytes 2 and 3
// the destination size (at most 16 KiB), the rest the compressed stream. A third
// pass builds a well-formed image around the input (headers, sums and CRCs right)
// so that the Dec records' own fields are reached: the input is cut into records of
// a method byte, a 16-bit expanded size, a 16-bit stored size and the stored bytes.

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <span>
#include <vector>

#include "FirmwareImageBuilder.h"
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

// A Main, TSNM and Dec part whose Dec records come from the input.
imagetest::Bytes WellFormedImage(const std::uint8_t* data, std::size_t size) {
  using imagetest::Bytes;
  Bytes records;
  std::size_t i = 0;
  while (size - i >= 5) {
    const std::uint8_t method = data[i];
    const std::uint32_t expanded = (std::uint32_t{data[i + 1]} << 8) | data[i + 2];
    const std::size_t stored = std::min<std::size_t>((std::size_t{data[i + 3]} << 8) | data[i + 4], size - i - 5);
    const Bytes bytes(data + i + 5, data + i + 5 + stored);
    i += 5 + stored;
    Bytes crcData = bytes;
    if (method != 0xFF) {
      // The CRC covers the expanded bytes: expand as the instrument would, so that a
      // record whose sizes agree with its stream is taken.
      crcData.assign(expanded, 0);
      LzExpand(crcData, bytes, (method >> 4) + 1, (method & 0x0F) + 1);
    }
    imagetest::Append(records, imagetest::DecRecord(bytes, expanded, method, crcData));
  }
  Bytes image = imagetest::MainPart("1.00", imagetest::Pattern(40, 1), imagetest::Pattern(24, 2));
  imagetest::Append(image, imagetest::TsnmPart("1.00", imagetest::Pattern(64, 3)));
  imagetest::Append(image, imagetest::DecPart("1.00", records));
  return image;
}

}  // namespace

RXT4_FUZZ_ENTRY(FuzzFirmware) {
  static const TempFolder folder("fuzz_firmware");
  LoadImage(folder.path() / "f.img", data, size);
  Expand(data, size);
  const imagetest::Bytes image = WellFormedImage(data, size);
  LoadImage(folder.path() / "w.img", image.data(), image.size());
  return 0;
}

}  // namespace rxt4::fuzz
