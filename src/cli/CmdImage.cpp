// rxt4 image IMAGE: loads and verifies a firmware image file and lists its parts.

#include <cstdio>
#include <string>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/Strings.h"
#include "rxt4/link/FirmwareImage.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 image --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageImage); }

// The version text as it may be shown: trailing blanks dropped, control bytes as '.'.
std::string Printable(const std::array<char, kVersionChars>& version) {
  std::string text(version.begin(), version.end());
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '.';
  return text;
}

}  // namespace

int RunImage(Args args) {
  std::string_view path;
  for (std::string_view arg : args) {
    if (IsHelpArg(arg)) return PrintHelp(UsageText());
    if (arg.size() > 1 && arg.front() == '-') return UsageError("image", FillIn(Text(StringId::CliUnknownOption), {arg}), UsageText());
    if (!path.empty()) return UsageError("image", FillIn(Text(StringId::CliOneOnly), {"IMAGE", arg}), UsageText());
    path = arg;
  }
  if (path.empty()) {
    std::fwrite(UsageText().data(), 1, UsageText().size(), stderr);
    return 2;
  }

  CFirmwareImage image;
  if (!image.Load(std::string(path))) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(Text(StringId::InvalidImage).size()),
                 Text(StringId::InvalidImage).data());
    // Under the message, the check that failed: file, header, length or CRC of which part.
    std::fprintf(stderr, "%s\n", image.FaultText().c_str());
    return 1;
  }
  for (PartType type : kPartTypes) {
    const CFirmwarePart* part = image.Part(type);
    if (!part) continue;
    const std::string_view name = PartName(type);
    std::printf("%2d  %-4.*s  %9u bytes  version \"%s\"\n", static_cast<int>(type), static_cast<int>(name.size()),
                name.data(), part->Size(), Printable(part->Version()).c_str());
  }
  return 0;
}

}  // namespace rxt4::cli
