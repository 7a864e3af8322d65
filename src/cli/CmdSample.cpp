// rxt4 sample: writes the demonstration data folder.

#include <cstdio>
#include <filesystem>
#include <string>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/link/DemoFirmware.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 sample --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageSample); }

}  // namespace

int RunSample(Args args) {
  if (args.size() == 1 && IsHelpArg(args[0])) return PrintHelp(UsageText());
  if (args.size() == 2 && args[0] == "--firmware" && !args[1].empty()) {
    const std::filesystem::path file{std::string(args[1])};
    if (!WriteDemoFirmwareImage(file)) {
      std::fprintf(stderr, "rxt4 sample: %s\n", FillIn(Text(StringId::CliNotWritten), {file.string()}).c_str());
      return 1;
    }
    return 0;
  }
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
    return UsageError("sample", args.empty() ? FillIn(Text(StringId::CliRequired), {"DIR"}) : FillIn(Text(StringId::CheckBadArgument), {args.back()}), UsageText());
  const std::filesystem::path folder{std::string(args[0])};
  if (!WriteDemoFolder(folder)) {
    std::fprintf(stderr, "rxt4 sample: %s\n", FillIn(Text(StringId::CliNotWritten), {folder.string()}).c_str());
    return 1;
  }
  return 0;
}

}  // namespace rxt4::cli
