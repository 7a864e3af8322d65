#include "PortChoice.h"

#include <cstdio>

#include "rxt4/link/PortAdvice.h"
#include "rxt4/link/SettingsFile.h"

namespace rxt4::cli {

PortChoice ChoosePort(const std::string& port, int baud) {
  PortChoice choice;
  choice.file = DefaultSettingsPath();
  SettingsFile settings(choice.file);
  // No present ports: a port the file does not name stays unknown rather than guessed.
  settings.LoadSettings({});
  choice.comm.comPort = port.empty() ? settings.Comm().comPort : port;
  choice.portFromFile = port.empty() && !choice.comm.comPort.empty();
  choice.comm.baudRate = baud > 0 ? baud : settings.Comm().baudRate;
  choice.rateFromFile = baud <= 0;
  return choice;
}

std::string NoPortText(const PortChoice& choice) {
  return "no port: give --port PORT, or set \"COM Port\" in " + choice.file.string() +
         " (the viewer's オプション → 通信設定)";
}

void SayPortUsed(const char* command, const PortChoice& choice, bool withRate) {
  std::string from = choice.portFromFile ? "port" : "";
  if (withRate && choice.rateFromFile) from += from.empty() ? "rate" : " and rate";
  std::fprintf(stderr, "rxt4 %s: port %s", command, choice.comm.comPort.c_str());
  if (withRate) std::fprintf(stderr, " at %d baud", choice.comm.baudRate);
  if (!from.empty()) std::fprintf(stderr, " (%s from the settings file %s)", from.c_str(), choice.file.c_str());
  std::fputc('\n', stderr);
}

void ExplainOpenFailure(const char* command, const std::string& port, int systemError) {
  if (systemError == 0) return;
  std::fprintf(stderr, "rxt4 %s: cannot open %s\n", command, PortOpenDetail(port, systemError).c_str());
}

}  // namespace rxt4::cli
