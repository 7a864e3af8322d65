#pragma once
// Listing the serial ports present, for the communication settings dialog.

#include <string>
#include <vector>

namespace rxt4 {

struct PortInfo {
  std::string name;         // device path, e.g. /dev/ttyUSB0
  std::string description;  // what the system says the device is; may be empty
  int usbVendorId = -1;     // -1 when not a USB device
  int usbProductId = -1;
};

// The serial ports present, in the system's enumeration order (pseudo-terminals are
// never listed; the user can still type their path).
std::vector<PortInfo> ListSerialPorts();

}  // namespace rxt4
