#include "rxt4/link/LzExpand.h"

namespace rxt4 {
namespace {

constexpr int kMinOffsetBits = 1;
constexpr int kMaxOffsetBits = 16;
constexpr int kMinLengthBits = 1;
constexpr int kMaxLengthBits = 15;
constexpr unsigned kMinMatchBytes = 3;

bool ParametersValid(int offsetBits, int lengthBits) {
  return offsetBits >= kMinOffsetBits && offsetBits <= kMaxOffsetBits && lengthBits >= kMinLengthBits &&
         lengthBits <= kMaxLengthBits;
}

// Reads the source after its first byte as a bit stream, most significant bit first.
class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes), bitsLeft_(bytes.size() * 8) {}

  // Takes count bits into value; false (nothing taken) when fewer are left.
  bool Take(int count, std::uint32_t& value) {
    if (static_cast<std::uint64_t>(count) > bitsLeft_) return false;
    value = 0;
    for (int i = 0; i < count; ++i) {
      const std::uint8_t byte = bytes_[position_ >> 3];
      value = (value << 1) | ((byte >> (7 - (position_ & 7))) & 1u);
      ++position_;
    }
    bitsLeft_ -= static_cast<std::uint64_t>(count);
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::uint64_t bitsLeft_;
  std::uint64_t position_ = 0;
};

}  // namespace

std::uint64_t LzExpand(std::span<std::uint8_t> destination, std::span<const std::uint8_t> source,
                       int offsetBits, int lengthBits) {
  if (!ParametersValid(offsetBits, lengthBits) || source.empty()) return 0;
  const std::uint64_t capacity = destination.size();
  std::uint64_t produced = 0;
  auto put = [&](std::uint8_t b) {
    if (produced < capacity) destination[produced] = b;
    ++produced;
  };
  put(source[0]);
  BitReader bits(source.subspan(1));
  for (;;) {
    std::uint32_t flag = 0;
    if (!bits.Take(1, flag)) break;
    if (flag == 0) {
      std::uint32_t literal = 0;
      if (!bits.Take(8, literal)) break;
      put(static_cast<std::uint8_t>(literal));
      continue;
    }
    std::uint32_t distance = 0;
    std::uint32_t count = 0;
    if (!bits.Take(offsetBits, distance) || !bits.Take(lengthBits, count)) break;
    distance += 1;
    count += kMinMatchBytes;
    if (distance > produced) return 0;
    for (std::uint32_t i = 0; i < count; ++i) {
      // Bytes past the destination are only counted: what they would copy is never stored.
      if (produced >= capacity) {
        produced += count - i;
        break;
      }
      const std::uint64_t from = produced - distance;
      put(destination[from]);
    }
  }
  return produced;
}

std::uint64_t LzMaxExpandedBytes(std::uint64_t sourceBytes, int offsetBits, int lengthBits) {
  if (!ParametersValid(offsetBits, lengthBits) || sourceBytes == 0) return 0;
  // A match costs 1 + o + n bits and yields at most 2^n + 2 bytes, always more per bit
  // than a 9-bit literal; the bits left over after the most matches hold fewer literals
  // than one more match would yield, hence the + 1.
  const std::uint64_t bits = (sourceBytes - 1) * 8;
  const std::uint64_t matchBits = 1u + static_cast<unsigned>(offsetBits) + static_cast<unsigned>(lengthBits);
  const std::uint64_t matchBytes = (std::uint64_t{1} << lengthBits) - 1 + kMinMatchBytes;
  return 1 + (bits / matchBits + 1) * matchBytes;
}

}  // namespace rxt4
