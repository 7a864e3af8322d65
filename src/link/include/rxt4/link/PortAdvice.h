#pragma once
// What to tell the user when a serial port will not open: the system's reason and,
// where there is one, the remedy (permission, port in use, no such device, not a
// serial port or speed). One text for the viewer's dialogs and rxt4 download/update.

#include <string>
#include <string_view>

namespace rxt4 {

// The remedy for a port that failed to open with systemError (an errno value), UTF-8
// from the string table; empty when there is none (0, or a reason without a remedy).
std::string_view PortOpenAdvice(int systemError);

// "PORT: the system's words for systemError", then the advice on a line of its own
// when there is one. Empty when systemError is 0.
std::string PortOpenDetail(std::string_view port, int systemError);

}  // namespace rxt4
