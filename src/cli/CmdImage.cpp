// rxt4 image IMAGE: loads and verifies a firmware image file and lists its parts.

#include <cstdio>
#include <string>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/Strings.h"
#include "rxt4/link/FirmwareImage.h"

namespace rxt4::cli {
namespace {

constexpr const char* kUsage =
    "usage: rxt4 image IMAGE\n"
    "\n"
    "Loads a firmware image file (*.img) and verifies every part (header checksums,\n"
    "CRC-32, Dec records). Prints one line per part present: type, name, size in\n"
    "bytes, version. Exit status 0 when the image is valid, 1 when it is not; then the\n"
    "line under the message on standard error names the check that failed (the file\n"
    "missing or unreadable, too short, a header checksum, a length or a CRC, with the\n"
    "part and, in a Dec part, the record).\n";

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
    if (IsHelpArg(arg)) return PrintHelp(kUsage);
    if (arg.size() > 1 && arg.front() == '-') return UsageError("image", Quoted("unknown option", arg), kUsage);
    if (!path.empty()) return UsageError("image", "only one image file can be checked at a time", kUsage);
    path = arg;
  }
  if (path.empty()) {
    std::fputs(kUsage, stderr);
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
