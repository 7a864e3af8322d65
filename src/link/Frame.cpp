#include "rxt4/link/Frame.h"

namespace rxt4 {

std::uint8_t FrameChecksum(std::uint8_t code, std::span<const std::uint8_t> payload) {
  unsigned sum = kStx + 0x00 + 0x00 + 0x01 + code + static_cast<std::uint8_t>(payload.size()) + kEtx;
  for (std::uint8_t b : payload) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFF);
}

std::vector<std::uint8_t> BuildFrame(std::uint8_t code, std::span<const std::uint8_t> payload) {
  if (payload.size() > kMaxFramePayloadBytes) payload = payload.first(kMaxFramePayloadBytes);
  std::vector<std::uint8_t> frame;
  frame.reserve(payload.size() + kFrameOverheadBytes);
  frame.insert(frame.end(), {kStx, 0x00, 0x00, 0x01, code, static_cast<std::uint8_t>(payload.size())});
  frame.insert(frame.end(), payload.begin(), payload.end());
  frame.push_back(kEtx);
  frame.push_back(FrameChecksum(code, payload));
  return frame;
}

}  // namespace rxt4
