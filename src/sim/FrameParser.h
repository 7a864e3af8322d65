#pragma once
// Cuts the PC's byte stream into request frames (STX 00 00 01 code len payload ETX sum).
// Bytes before an STX are skipped; a frame whose checksum or ETX is wrong is dropped.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace rxt4::sim {

struct RequestFrame {
  std::uint8_t code = 0;
  std::vector<std::uint8_t> payload;
  std::size_t wireBytes = 0;  // length of the frame on the line
};

class FrameParser {
 public:
  // Adds received bytes.
  void Feed(std::span<const std::uint8_t> bytes);
  // The next complete frame, if any; malformed ones are skipped (counted in dropped()).
  std::optional<RequestFrame> Next();
  // Forgets partial input.
  void Clear() { buffer_.clear(); }
  int dropped() const { return dropped_; }

 private:
  std::deque<std::uint8_t> buffer_;
  int dropped_ = 0;
};

}  // namespace rxt4::sim
