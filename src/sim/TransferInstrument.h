#pragma once
// The instrument in its normal mode, answering the data transfer's requests:
// 0x20 connection check, 0x23 its baud rate, 0x26 transfer mode (0 for the first
// N polls), 0x24 blocks of its kind images; with injected faults.

#include <cstdint>
#include <span>
#include <vector>

#include "FaultPlan.h"
#include "FrameParser.h"
#include "SimLink.h"
#include "rxt4/data/DemoImages.h"

namespace rxt4::sim {

// What the instrument serves for a kind it holds nothing of: the header with no records.
inline const KindImage kEmptyKindImage = {'2', '.', '0', '0', 0, 0, 0, 0};

class TransferInstrument final : public SimulatedInstrument {
 public:
  // images: by TransferKind (an empty one is served as a header with no records).
  TransferInstrument(KindImages images, std::uint32_t baudRate, int modeWaitPolls, FaultPlan faults);

  void OnReceived(std::span<const std::uint8_t> bytes, SimLink& link) override;
  void OnNewLine() override { parser_.Clear(); }

 private:
  void Answer(const RequestFrame& request, SimLink& link);
  std::vector<std::uint8_t> BlockPayload(int kind, int block) const;
  // Applies the faults aimed at this block (wrong block, kind or total).
  void BlockFaults(std::vector<std::uint8_t>& payload, int kind, int block, SimLink& link);
  // Sends a reply, held back or in pieces when a fault says so.
  void Deliver(const std::vector<std::uint8_t>& reply, std::uint8_t code, SimLink& link);

  KindImages images_;
  std::uint32_t baudRate_;
  int modeWaitPolls_;
  FaultPlan faults_;
  FrameParser parser_;
};

}  // namespace rxt4::sim
