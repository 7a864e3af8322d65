#pragma once
// What a simulated instrument mode sees of the line, and what each mode provides.
// The pty transport is shared; a mode (data transfer, firmware update) is one
// SimulatedInstrument.

#include <cstdint>
#include <span>
#include <string>

namespace rxt4::sim {

class SimLink {
 public:
  virtual ~SimLink() = default;
  // Sends bytes to the PC (paced at 10 bits per byte when line-rate pacing is on).
  virtual void Send(std::span<const std::uint8_t> bytes) = 0;
  // Notes that count bytes have just come in: on a paced line the next Send starts
  // only once they would have arrived.
  virtual void ReceiveTime(std::size_t count) = 0;
  // Pulls the cable: the PC's open port fails; a fresh line appears under the same path.
  virtual void Hangup() = 0;
  // Writes a line to standard error when logging is on.
  virtual void Log(const std::string& line) = 0;
};

class SimulatedInstrument {
 public:
  virtual ~SimulatedInstrument() = default;
  // Handles bytes received from the PC, answering through link.
  virtual void OnReceived(std::span<const std::uint8_t> bytes, SimLink& link) = 0;
  // The line was replaced (hang-up): forget partial input.
  virtual void OnNewLine() {}
};

}  // namespace rxt4::sim
