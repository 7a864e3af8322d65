#include "rxt4/link/DemoFirmware.h"

#include <fstream>
#include <span>
#include <string_view>

#include "rxt4/link/Crc.h"

namespace rxt4 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Method byte of the compressed record: offset bits 8 (high nibble 7), length bits 5 (low nibble 4).
constexpr std::uint8_t kDemoMethod = 0x74;
constexpr int kDemoOffsetBits = 8;
constexpr int kDemoLengthBits = 5;
constexpr std::uint8_t kStoredMethod = 0xFF;

class BitWriter {
 public:
  void Put(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      if (used_ == 0) out_.push_back(0);
      if ((value >> i) & 1u) out_.back() |= static_cast<std::uint8_t>(0x80u >> used_);
      used_ = (used_ + 1) % 8;
    }
  }
  Bytes Take() { return std::move(out_); }

 private:
  Bytes out_;
  int used_ = 0;
};

void Put24(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

void Put32(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  Put24(out, v);
}

std::uint8_t Sum8(const Bytes& bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum);
}

void AppendCrc(Bytes& part) { Put32(part, Crc32Mpeg2(part)); }

Bytes Header(std::string_view version, std::string_view signature) {
  Bytes h(version.begin(), version.end());
  h.resize(8, ' ');
  h.insert(h.end(), signature.begin(), signature.end());
  return h;
}

// Firmware-like body bytes: a repeating instruction pattern with a counter in it.
Bytes Body(std::size_t size, std::uint8_t seed) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i)
    out[i] = static_cast<std::uint8_t>((i % 16 < 12) ? (0x4E + seed + (i % 4)) : (i / 16 + seed));
  return out;
}

Bytes DecRecord(const Bytes& data, bool compress) {
  Bytes stored = compress ? LzCompress(data, kDemoOffsetBits, kDemoLengthBits) : data;
  Bytes r = {0x00, 0x00, 0x00, 0x00};
  Put24(r, static_cast<std::uint32_t>(data.size()));
  Put24(r, static_cast<std::uint32_t>(stored.size()));
  r.push_back(compress ? kDemoMethod : kStoredMethod);
  r.push_back(Sum8(r));
  r.insert(r.end(), stored.begin(), stored.end());
  Put32(r, Crc32Mpeg2(data));  // the record CRC is over the expanded data
  return r;
}

}  // namespace

Bytes LzCompress(const Bytes& data, int offsetBits, int lengthBits) {
  if (data.empty()) return {};
  const std::size_t maxDistance = std::size_t{1} << offsetBits;
  const std::size_t maxCount = (std::size_t{1} << lengthBits) + 2;
  Bytes out{data[0]};
  BitWriter bits;
  for (std::size_t pos = 1; pos < data.size();) {
    std::size_t bestCount = 0, bestDistance = 0;
    for (std::size_t d = 1; d <= maxDistance && d <= pos; ++d) {
      std::size_t n = 0;
      while (n < maxCount && pos + n < data.size() && data[pos + n] == data[pos + n - d]) ++n;
      if (n > bestCount) bestCount = n, bestDistance = d;
    }
    if (bestCount >= 3) {
      bits.Put(1, 1);
      bits.Put(static_cast<std::uint32_t>(bestDistance - 1), offsetBits);
      bits.Put(static_cast<std::uint32_t>(bestCount - 3), lengthBits);
      pos += bestCount;
    } else {
      bits.Put(0, 1);
      bits.Put(data[pos], 8);
      ++pos;
    }
  }
  Bytes stream = bits.Take();
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

Bytes BuildDemoFirmwareImage() {
  Bytes image;

  const Bytes a = Body(40 * 1024 + 100, 1), b = Body(8 * 1024, 2);
  Bytes main = Header("1.03", "VEXOLA RXT4 Main");
  Put24(main, static_cast<std::uint32_t>(a.size()));
  Put24(main, static_cast<std::uint32_t>(b.size()));
  main.push_back(0x00);
  main.push_back(Sum8(main));
  main.insert(main.end(), a.begin(), a.end());
  main.insert(main.end(), b.begin(), b.end());
  AppendCrc(main);

  const Bytes t = Body(12 * 1024, 3);
  Bytes tsnm = Header("1.03", "VEXOLA RXT4 TSNM");
  Put24(tsnm, static_cast<std::uint32_t>(t.size()));
  tsnm.push_back(Sum8(tsnm));
  tsnm.insert(tsnm.end(), t.begin(), t.end());
  AppendCrc(tsnm);

  Bytes records = DecRecord(Body(2000, 4), false);
  Bytes compressed = DecRecord(Body(6000, 5), true);
  records.insert(records.end(), compressed.begin(), compressed.end());
  Bytes dec = Header("1.03", "VEXOLA RXT4 Dec ");
  Put32(dec, 0);
  Put24(dec, static_cast<std::uint32_t>(32 + records.size()));
  dec.push_back(Sum8(dec));
  dec.insert(dec.end(), records.begin(), records.end());
  AppendCrc(dec);

  for (const Bytes* part : {&main, &tsnm, &dec}) image.insert(image.end(), part->begin(), part->end());
  return image;
}

bool WriteDemoFirmwareImage(const std::filesystem::path& path) {
  const Bytes image = BuildDemoFirmwareImage();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace rxt4
