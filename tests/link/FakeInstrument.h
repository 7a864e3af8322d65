#pragma once
// A scripted instrument for the fake line: answers 0x20, 0x23, 0x26 and 0x24 from
// kind images, with hooks to spoil replies. Frames are assembled here with their
// own checksum code so the link's frame builder is not tested against itself.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>

#include "FakePort.h"

namespace rxt4::test {

inline Bytes ReplyFrame(std::uint8_t code, const Bytes& payload) {
  Bytes f = {0x02, 0x00, 0x00, 0x01, code, static_cast<std::uint8_t>(payload.size())};
  const std::size_t header = f.size();
  f.resize(header + payload.size());
  std::copy(payload.begin(), payload.end(), f.begin() + static_cast<std::ptrdiff_t>(header));
  f.push_back(0x03);
  unsigned sum = 0;
  for (std::uint8_t b : f) sum += b;
  f.push_back(static_cast<std::uint8_t>(sum));
  return f;
}

struct FakeInstrument {
  std::array<Bytes, 7> images;  // by TransferKind
  std::uint32_t baudRate = 9600;
  int modeZeroPolls = 0;         // 0x26 answers mode 0 this many times
  int requests24 = 0;
  // Lets a test change a reply (payload) before it is framed; return false to drop it.
  std::function<bool(std::uint8_t code, Bytes& payload)> spoil;

  // The 0xA4 payload for kind and block of the held image.
  Bytes BlockPayload(int kind, int block) const {
    const Bytes& image = images[static_cast<std::size_t>(kind)];
    const auto total = static_cast<std::uint32_t>(image.size());
    Bytes p(190, 0);
    p[1] = static_cast<std::uint8_t>(kind);
    p[2] = static_cast<std::uint8_t>(total >> 24);
    p[3] = static_cast<std::uint8_t>(total >> 16);
    p[4] = static_cast<std::uint8_t>(total >> 8);
    p[5] = static_cast<std::uint8_t>(total);
    p[7] = static_cast<std::uint8_t>(block >> 8);
    p[8] = static_cast<std::uint8_t>(block);
    std::size_t offset = block == 0 ? 0 : 8 + static_cast<std::size_t>(block - 1) * 180;
    std::size_t count = block == 0 ? 8 : 180;
    if (offset > image.size()) offset = image.size();
    if (offset + count > image.size()) count = image.size() - offset;
    if (block != 0) p[6] = static_cast<std::uint8_t>(count);
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(offset), count, p.begin() + 10);
    return p;
  }

  // Answers one request frame (written whole by the PC).
  void Answer(FakeLine& line, std::span<const std::uint8_t> request) {
    if (request.size() < 8) return;
    const std::uint8_t code = request[4];
    Bytes payload;
    switch (code) {
      case 0x20: payload = {0, 0, 0, 0}; break;
      case 0x23:
        payload = {0, static_cast<std::uint8_t>(baudRate >> 24), static_cast<std::uint8_t>(baudRate >> 16),
                   static_cast<std::uint8_t>(baudRate >> 8), static_cast<std::uint8_t>(baudRate)};
        break;
      case 0x26:
        payload = {0, static_cast<std::uint8_t>(modeZeroPolls > 0 ? 0 : 1)};
        if (modeZeroPolls > 0) --modeZeroPolls;
        break;
      case 0x24:
        ++requests24;
        payload = BlockPayload(request[6], (request[8] << 8) | request[9]);
        break;
      default: return;
    }
    if (spoil && !spoil(code, payload)) return;
    line.Deliver(ReplyFrame(static_cast<std::uint8_t>(code | 0x80), payload));
  }

  // Makes this instrument answer everything the PC writes on line.
  void Attach(FakeLine& line) {
    line.onWrite = [this](FakeLine& l, std::span<const std::uint8_t> bytes) { Answer(l, bytes); };
  }
};

// A kind image "2.00", record count n (little-endian), then body bytes.
inline Bytes KindImageBytes(std::uint32_t n, const Bytes& body) {
  Bytes image = {'2', '.', '0', '0', static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                 static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
  image.insert(image.end(), body.begin(), body.end());
  return image;
}

}  // namespace rxt4::test
