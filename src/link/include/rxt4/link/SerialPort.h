#pragma once
// CSerialPort: one serial port used by one worker thread. Open/Close/Write/Read/
// WaitEvent/GetInQueue return a PortError; Abort may be called from any thread and
// ends a wait in progress within 100 ms.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "rxt4/link/CommSettings.h"
#include "rxt4/link/PortBackend.h"
#include "rxt4/link/PortError.h"

namespace rxt4 {

class CSerialPort {
 public:
  // Read time-outs: a read returns once no further byte comes within the interval.
  static constexpr int kReadIntervalMs = 50;
  // Write time-out: constant plus a per-byte multiplier.
  static constexpr int kWriteTotalConstantMs = 200;
  static constexpr int kWriteTotalMultiplierMs = 20;

  // A port on this platform's backend.
  CSerialPort();
  // A port on the given backend (the tests' fake, or another platform's).
  explicit CSerialPort(std::unique_ptr<PortBackend> backend);
  virtual ~CSerialPort();

  CSerialPort(const CSerialPort&) = delete;
  CSerialPort& operator=(const CSerialPort&) = delete;

  // Opens comPort at baudRate, 8N1 whatever the other settings hold; closes first.
  PortError Open(const CommSettings& settings);
  // Closes the port and clears the abort flag. Idempotent.
  void Close();
  // Raises the abort flag if the port is open; callable from any thread.
  void Abort();

  // Writes the bytes (blocking); Aborted when the abort flag is set afterwards.
  PortError Write(const std::uint8_t* bytes, std::size_t length);
  // Reads up to length queued bytes; length becomes the count read.
  PortError Read(std::uint8_t* buffer, std::size_t& length);
  // Waits for received characters: Success, Timeout, Aborted, or WaitFailed when the
  // device fails or hangs up.
  PortError WaitEvent(int timeoutMs);
  // Count of bytes waiting in the input queue.
  PortError GetInQueue(std::uint32_t& count);
  // The rate the open port runs at, or 0 (closed or unreadable).
  int GetBaudRate() const;

  // Bytes known to be queued already; nonzero makes the next WaitEvent succeed at once.
  std::uint32_t pendingCount() const { return pendingCount_; }
  void setPendingCount(std::uint32_t count) { pendingCount_ = count; }

  // True while the port is open.
  bool isOpen() const { return open_.load(); }
  // True once Abort was called on the open port.
  bool aborted() const { return abort_.load(); }
  // errno of the last failing platform call (e.g. EACCES on open), 0 when none.
  int systemError() const;

 private:
  PortError AbortRule(PortError result) const;

  std::unique_ptr<PortBackend> backend_;
  std::atomic<bool> open_{false};
  std::atomic<bool> abort_{false};
  std::uint32_t pendingCount_ = 0;
};

}  // namespace rxt4
