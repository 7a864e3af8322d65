#include "PortChoice.h"

#include <cstdio>

#include "rxt4/data/Strings.h"
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
  return FillIn(Text(StringId::CliNoPort), {choice.file.string()});
}

void SayPortUsed(const char* command, const PortChoice& choice, bool withRate) {
  std::string line = withRate ? FillIn(Text(StringId::CliPortRate), {choice.comm.comPort, std::to_string(choice.comm.baudRate)})
                              : FillIn(Text(StringId::CliPortUsed), {choice.comm.comPort});
  const bool port = choice.portFromFile, rate = withRate && choice.rateFromFile;
  if (port || rate) {
    const StringId from = port && rate ? StringId::CliBothFromSettings
                          : port       ? StringId::CliPortFromSettings
                                       : StringId::CliRateFromSettings;
    line += FillIn(Text(from), {choice.file.string()});
  }
  std::fprintf(stderr, "rxt4 %s: %s\n", command, line.c_str());
}

void ExplainOpenFailure(const char* command, const std::string& port, int systemError) {
  if (systemError == 0) return;
  std::fprintf(stderr, "rxt4 %s: %s\n", command, FillIn(Text(StringId::CliCannotOpen), {PortOpenDetail(port, systemError)}).c_str());
}

}  // namespace rxt4::cli
