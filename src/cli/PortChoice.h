#pragma once
// The serial settings of rxt4 download and update: the port and rate given on the
// command line, else those of the viewer's settings file, and a line saying which.

#include <filesystem>
#include <string>

#include "rxt4/link/CommSettings.h"

namespace rxt4::cli {

struct PortChoice {
  CommSettings comm;            // comPort empty when neither the command line nor the file names one
  bool portFromFile = false;    // the port came from "COM Port" of the settings file
  bool rateFromFile = false;    // the rate came from "Baud Rate" of the settings file (or its default)
  std::filesystem::path file;   // the settings file
};

// port and baud as given (empty, 0: not given) completed from the settings file.
PortChoice ChoosePort(const std::string& port, int baud);

// The usage error when no port is known: asks for --port, naming the settings file.
std::string NoPortText(const PortChoice& choice);

// "rxt4 COMMAND: port PORT at RATE baud (port and rate from the settings file FILE)"
// on standard error; withRate false leaves the rate out (the update sets its own).
void SayPortUsed(const char* command, const PortChoice& choice, bool withRate);

// "rxt4 COMMAND: cannot open PORT: the reason", then what to do, on standard error;
// nothing when systemError is 0.
void ExplainOpenFailure(const char* command, const std::string& port, int systemError);

}  // namespace rxt4::cli
