#pragma once
// The serial settings the user chooses (port, speed and the line format fields).
// Only comPort and baudRate reach the port: it always runs 8N1.

#include <cstdint>
#include <string>

namespace rxt4 {

struct CommSettings {
  std::string comPort;          // device name or path, e.g. /dev/ttyUSB0 or COM3
  int baudRate = 9600;
  std::uint8_t dataSize = 8;
  std::uint8_t parity = 0;      // 0 none, 1 odd, 2 even
  std::uint8_t stopBits = 0;    // 0 one, 1 one and a half, 2 two
  std::uint8_t flowControl = 0; // 0 none, 1 hardware, 2 Xon/Xoff
};

}  // namespace rxt4
