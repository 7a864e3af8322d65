#include "TransferInstrument.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>

#include "rxt4/link/Frame.h"

namespace rxt4::sim {
namespace {

constexpr std::size_t kBlockPayloadBytes = 190;
constexpr std::size_t kBlockDataBytes = 180;
constexpr std::size_t kImageHeaderBytes = 8;
// What a wrong-echo or noise fault puts on the line.
constexpr std::uint8_t kNoise[] = {0x55, 0xAA, 0x00};
// A split reply comes in this many pieces, this far apart.
constexpr int kSplitPieces = 3;
constexpr std::chrono::milliseconds kSplitPause{20};
// One byte more than the largest kind image a 0x24 exchange can describe (its header
// and 32767 blocks).
constexpr std::uint32_t kBeyondLargestImage = kImageHeaderBytes + 32767u * kBlockDataBytes + 1;

void PutBigEndian32(std::vector<std::uint8_t>& p, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

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
    if (image.size() < kImageHeaderBytes) image = kEmptyKindImage;
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
  PutBigEndian32(p, 2, static_cast<std::uint32_t>(image.size()));
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
    case kConnectCheckCode:
      link.Log("rx 20 connection check");
      payload = {0, 0, 0, 0};
      break;
    case kBaudRateCode:
      link.Log("rx 23 baud rate");
      payload = {0, static_cast<std::uint8_t>(baudRate_ >> 24), static_cast<std::uint8_t>(baudRate_ >> 16),
                 static_cast<std::uint8_t>(baudRate_ >> 8), static_cast<std::uint8_t>(baudRate_)};
      break;
    case kTransferModeCode: {
      const bool waiting = modeWaitPolls_ > 0;
      if (waiting) --modeWaitPolls_;
      link.Log(std::string("rx 26 transfer mode -> ") + (waiting ? "0" : "1"));
      payload = {0, static_cast<std::uint8_t>(waiting ? 0 : 1)};
      break;
    }
    case kDataReadCode:
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
      BlockFaults(payload, kind, block, link);
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
  Deliver(reply, code, link);
}

void TransferInstrument::BlockFaults(std::vector<std::uint8_t>& payload, int kind, int block, SimLink& link) {
  if (faults_.Take(FaultType::Echo, kDataReadCode, kind, block)) {
    const int wrong = block + 1;
    payload[7] = static_cast<std::uint8_t>(wrong >> 8);
    payload[8] = static_cast<std::uint8_t>(wrong);
    link.Log("fault: wrong block echo");
  }
  if (faults_.Take(FaultType::Kind, kDataReadCode, kind, block)) {
    payload[1] = static_cast<std::uint8_t>((kind + 1) % kTransferKindCount);
    link.Log("fault: wrong kind echo");
  }
  if (faults_.Take(FaultType::Total, kDataReadCode, kind, block) && kind >= 0 && kind < kTransferKindCount) {
    const auto total = static_cast<std::uint32_t>(images_[static_cast<std::size_t>(kind)].size());
    PutBigEndian32(payload, 2, block == 0 ? kBeyondLargestImage : total + 1);
    link.Log("fault: wrong total");
  }
}

void TransferInstrument::Deliver(const std::vector<std::uint8_t>& reply, std::uint8_t code, SimLink& link) {
  if (const int ms = faults_.TakeDelayMs(code); ms > 0) {
    link.Log("fault: reply held back " + std::to_string(ms) + " ms");
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
  if (!faults_.Take(FaultType::Split, code)) {
    link.Send(reply);
    return;
  }
  link.Log("fault: reply in pieces");
  const std::size_t piece = (reply.size() + kSplitPieces - 1) / kSplitPieces;
  for (std::size_t at = 0; at < reply.size(); at += piece) {
    if (at > 0) std::this_thread::sleep_for(kSplitPause);
    link.Send(std::span(reply).subspan(at, std::min(piece, reply.size() - at)));
  }
}

}  // namespace rxt4::sim
