#include "FrameParser.h"

namespace rxt4::sim {

void FrameParser::Feed(std::span<const std::uint8_t> bytes) { buffer_.insert(buffer_.end(), bytes.begin(), bytes.end()); }

std::optional<RequestFrame> FrameParser::Next() {
  for (;;) {
    while (!buffer_.empty() && buffer_.front() != 0x02) buffer_.pop_front();
    if (buffer_.size() < 6) return std::nullopt;
    const std::size_t length = buffer_[5];
    const std::size_t total = length + 8;
    if (buffer_[1] != 0 || buffer_[2] != 0 || buffer_[3] != 1) {
      buffer_.pop_front();  // not a frame start after all
      ++dropped_;
      continue;
    }
    if (buffer_.size() < total) return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < total; ++i) sum += buffer_[i];
    if (buffer_[6 + length] != 0x03 || static_cast<std::uint8_t>(sum) != buffer_[total - 1]) {
      buffer_.pop_front();
      ++dropped_;
      continue;
    }
    RequestFrame f;
    f.code = buffer_[4];
    f.payload.assign(buffer_.begin() + 6, buffer_.begin() + 6 + static_cast<std::ptrdiff_t>(length));
    f.wireBytes = total;
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(total));
    return f;
  }
}

}  // namespace rxt4::sim
