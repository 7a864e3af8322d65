#pragma once
// The detail shown under a link dialog's message when the port could not be opened:
// the device, the system's reason and, for a refused permission, what to do.

#include <QString>
#include <string>

namespace rxt4 {

// Empty when systemError is 0.
QString PortOpenDetail(const std::string& port, int systemError);

}  // namespace rxt4
