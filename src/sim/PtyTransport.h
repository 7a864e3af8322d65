#pragma once
// The simulator's end of the line: a pseudo-terminal whose slave is reachable
// through a symlink, optional pacing at 10 bits per byte, and a main loop that
// feeds a SimulatedInstrument until stopped.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "SimLink.h"

namespace rxt4::sim {

class PtyTransport final : public SimLink {
 public:
  // linkPath: where the symlink to the slave goes; baudRate: pacing rate.
  PtyTransport(std::filesystem::path linkPath, int baudRate, bool lineRate, bool log);
  ~PtyTransport() override;

  PtyTransport(const PtyTransport&) = delete;
  PtyTransport& operator=(const PtyTransport&) = delete;

  // Creates the pseudo-terminal and the symlink; an error text on failure.
  std::string Create();
  // Feeds received bytes to instrument until stopFd becomes readable. Returns 0, or 1 on an error.
  int Run(SimulatedInstrument& instrument, int stopFd);

  void Send(std::span<const std::uint8_t> bytes) override;
  void ReceiveTime(std::size_t count) override;
  void Hangup() override;
  void Log(const std::string& line) override;

 private:
  std::string OpenPty();
  void ClosePty();
  void SleepUntil(std::chrono::steady_clock::time_point t);

  std::filesystem::path linkPath_;
  int baudRate_;
  bool lineRate_;
  bool log_;
  int master_ = -1;
  int slaveKeeper_ = -1;  // our own slave descriptor: keeps the master usable while the PC has the port closed
  bool linkMade_ = false;
  bool hungUp_ = false;
  std::chrono::nanoseconds byteTime_{0};
  std::chrono::steady_clock::time_point replyEarliest_{};  // end of the last request on a paced line
};

}  // namespace rxt4::sim
