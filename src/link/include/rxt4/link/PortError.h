#pragma once
// Result codes of the serial port operations (0 is success). The numbers are kept as
// they were first given; 2, 5 and 6 belonged to wait-object and event-mask steps this
// port code does not have.

namespace rxt4 {

enum class PortError : int {
  Success = 0,
  OpenFailed = 1,         // opening the port failed
  GetStateFailed = 3,     // reading the current port state failed
  SetStateFailed = 4,     // setting the new port state failed (also: unsupported rate)
  WaitFailed = 7,         // waiting for a port event failed (also: the device hung up)
  ReadFailed = 8,         // a read, or the reading of the port status, failed
  WriteFailed = 9,        // a write failed
  NotOpen = 10,           // the port is not open
  Timeout = 11,           // no port event came within the time-out
  Aborted = 12,           // the operation completed but the abort flag is set
};

// The numeric code of a port error.
constexpr int ToInt(PortError e) { return static_cast<int>(e); }

}  // namespace rxt4
