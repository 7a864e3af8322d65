// rxt4 sample: writes the demonstration data folder.

#include <cstdio>
#include <filesystem>
#include <string>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/link/DemoFirmware.h"

namespace rxt4::cli {
namespace {

constexpr const char* kSampleUsage =
    "usage: rxt4 sample DIR\n"
    "       rxt4 sample --firmware FILE\n"
    "\n"
    "Writes a demonstration data folder into DIR (created when missing): data set\n"
    "folders with level, BER, SKY, constellation, multi-channel, spectrum and delay\n"
    "profile measurements, in the files a download from the instrument gives.\n"
    "With --firmware, writes a demonstration firmware image (Main, TSNM and Dec\n"
    "parts) to FILE instead, to try an update against rxt4-sim --update-mode.\n"
    "\n"
    "  --help   show this text\n";

}  // namespace

int RunSample(Args args) {
  if (args.size() == 1 && IsHelpArg(args[0])) return PrintHelp(kSampleUsage);
  if (args.size() == 2 && args[0] == "--firmware" && !args[1].empty()) {
    const std::filesystem::path file{std::string(args[1])};
    if (!WriteDemoFirmwareImage(file)) {
      std::fprintf(stderr, "rxt4 sample: could not write the firmware image '%s'\n", file.string().c_str());
      return 1;
    }
    return 0;
  }
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
    return UsageError("sample", "expected one folder", kSampleUsage);
  const std::filesystem::path folder{std::string(args[0])};
  if (!WriteDemoFolder(folder)) {
    std::fprintf(stderr, "rxt4 sample: could not write the demonstration data into '%s'\n", folder.string().c_str());
    return 1;
  }
  return 0;
}

}  // namespace rxt4::cli
