#include "TransferInstrument.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "rxt4/link/Frame.h"

namespace rxt4::sim {
namespace {

constexpr std::size_t kBlockPayloadBytes = 190;
constexpr std::size_t kBlockDataBytes = 180;
constexpr std::size_t kImageHeaderBytes = 8;
// What a wrong-echo or noise fault puts on the line.
constexpr std::uint8_t kNoise[] = {0x55, 0xAA, 0x00};

std::string Hex(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02X", v);
  return b;
}

}  // namespace

TransferInstrument::TransferInstrument(KindImages images, std::uint32_t baudRate, int modeWaitPolls, FaultPlan faults)
    : images_(std::move(images)), baudRate_(baudRate), modeWaitPolls_(modeWaitPolls), faults_(std::move(faults)) {
  // An instrument with no data of a kind still answers with an empty image.
  for (KindImage& image : images_)
    if (image.size() < kImageHeaderBytes) image = {'2', '.', '0', '0', 0, 0, 0, 0};
}

void TransferInstrument::OnReceived(std::span<const std::uint8_t> bytes, SimLink& link) {
  parser_.Feed(bytes);
  while (auto request = parser_.Next()) {
    link.ReceiveTime(request->wireBytes);
    Answer(*request, link);
  }
}

std::vector<std::uint8_t> TransferInstrument::BlockPayload(int kind, int block) const {
  std::vector<std::uint8_t> p(kBlockPayloadBytes, 0);
  p[1] = static_cast<std::uint8_t>(kind);
  p[7] = static_cast<std::uint8_t>(block >> 8);
  p[8] = static_cast<std::uint8_t>(block);
  if (kind < 0 || kind >= kTransferKindCount) {
    p[0] = 1;  // no such kind
    return p;
  }
  const KindImage& image = images_[static_cast<std::size_t>(kind)];
  const auto total = static_cast<std::uint32_t>(image.size());
  p[2] = static_cast<std::uint8_t>(total >> 24);
  p[3] = static_cast<std::uint8_t>(total >> 16);
  p[4] = static_cast<std::uint8_t>(total >> 8);
  p[5] = static_cast<std::uint8_t>(total);
  std::size_t offset = 0;
  std::size_t count = kImageHeaderBytes;
  if (block > 0) {
    offset = kImageHeaderBytes + static_cast<std::size_t>(block - 1) * kBlockDataBytes;
    count = kBlockDataBytes;
  }
  offset = std::min(offset, image.size());
  count = std::min(count, image.size() - offset);
  if (block > 0) p[6] = static_cast<std::uint8_t>(count);
  std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(offset), count, p.begin() + 10);
  return p;
}

void TransferInstrument::Answer(const RequestFrame& request, SimLink& link) {
  const std::uint8_t code = request.code;
  std::vector<std::uint8_t> payload;
  int kind = -1, block = -1;
  switch (code) {
    case 0x20:
      link.Log("rx 20 connection check");
      payload = {0, 0, 0, 0};
      break;
    case 0x23:
      link.Log("rx 23 baud rate");
      payload = {0, static_cast<std::uint8_t>(baudRate_ >> 24), static_cast<std::uint8_t>(baudRate_ >> 16),
                 static_cast<std::uint8_t>(baudRate_ >> 8), static_cast<std::uint8_t>(baudRate_)};
      break;
    case 0x26: {
      const bool waiting = modeWaitPolls_ > 0;
      if (waiting) --modeWaitPolls_;
      link.Log(std::string("rx 26 transfer mode -> ") + (waiting ? "0" : "1"));
      payload = {0, static_cast<std::uint8_t>(waiting ? 0 : 1)};
      break;
    }
    case 0x24:
      if (request.payload.size() != 4) {
        link.Log("rx 24 with a payload of " + std::to_string(request.payload.size()) + " bytes: ignored");
        return;
      }
      kind = request.payload[0];
      block = (request.payload[2] << 8) | request.payload[3];
      link.Log("rx 24 kind " + std::to_string(kind) + " block " + std::to_string(block));
      if (faults_.Take(FaultType::Hangup, code, kind, block)) {
        link.Hangup();
        return;
      }
      payload = BlockPayload(kind, block);
      if (faults_.Take(FaultType::Echo, code, kind, block)) {
        const int wrong = block + 1;
        payload[7] = static_cast<std::uint8_t>(wrong >> 8);
        payload[8] = static_cast<std::uint8_t>(wrong);
        link.Log("fault: wrong block echo");
      }
      break;
    default:
      link.Log("rx " + Hex(code) + ": unknown request, no answer");
      return;
  }
  if (faults_.Take(FaultType::Drop, code)) {
    link.Log("fault: reply dropped");
    return;
  }
  if (faults_.Take(FaultType::Status, code)) {
    payload[0] = 1;
    link.Log("fault: status 1");
  }
  std::vector<std::uint8_t> reply;
  if (faults_.Take(FaultType::Garbage, code)) {
    reply.assign(std::begin(kNoise), std::end(kNoise));
    link.Log("fault: noise before the reply");
  }
  std::vector<std::uint8_t> frame = BuildFrame(static_cast<std::uint8_t>(code | 0x80), payload);
  if (faults_.Take(FaultType::Checksum, code)) {
    frame.back() = static_cast<std::uint8_t>(frame.back() ^ 0xFF);
    link.Log("fault: bad checksum");
  }
  reply.insert(reply.end(), frame.begin(), frame.end());
  link.Send(reply);
}

}  // namespace rxt4::sim
