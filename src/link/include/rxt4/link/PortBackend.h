#pragma once
// The platform side of a serial port: one small interface with one implementation
// per platform (termios on Linux) and an in-memory fake in the tests. CSerialPort
// adds the semantics every backend shares (closed port, abort flag, pendingCount).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "rxt4/link/PortError.h"

namespace rxt4 {

class PortBackend {
 public:
  virtual ~PortBackend() = default;

  // Opens the device and configures it raw 8N1 at baudRate, both queues flushed.
  // Returns the PortError of the first failing step (OpenFailed, GetStateFailed,
  // SetStateFailed).
  virtual PortError Open(const std::string& device, int baudRate) = 0;

  // Closes the device if open. Idempotent.
  virtual void Close() = 0;

  // Writes all bytes, blocking at most timeoutMs; gives up early (Aborted) once abort is set.
  virtual PortError Write(const std::uint8_t* bytes, std::size_t length, int timeoutMs,
                          const std::atomic<bool>& abort) = 0;

  // Reads up to length bytes of what is queued (waiting at most intervalMs for more
  // after the queue runs dry); length becomes the count read.
  virtual PortError Read(std::uint8_t* buffer, std::size_t& length, int intervalMs) = 0;

  // Waits until at least one byte is queued (Success), timeoutMs passes (Timeout),
  // abort is set (Aborted, noticed within 50 ms) or the device fails or hangs up (WaitFailed).
  virtual PortError Poll(int timeoutMs, const std::atomic<bool>& abort) = 0;

  // Number of bytes waiting in the input queue (ReadFailed when it cannot be had).
  virtual PortError Queued(std::uint32_t& count) = 0;

  // The rate the open device is set to, or 0 when it cannot be read.
  virtual int BaudRate() const = 0;

  // errno (or platform error) of the last failure, 0 when none; for messages.
  virtual int SystemError() const = 0;
};

// The backend of this platform (termios on Linux).
std::unique_ptr<PortBackend> MakePlatformPortBackend();

// Whether device would open as a serial port now: opens it as the backend does, without
// waiting or configuring it, and closes it at once. 0 when it opens, else the errno of
// the failing step (EACCES, EWOULDBLOCK when another program holds it, ENOENT, ENOTTY...).
int ProbePort(const std::string& device);

}  // namespace rxt4
