// rxt4 udev-rule PORT: prints a udev rule file for the plugged-in instrument's USB
// serial device. The instrument's USB ids are not fixed in advance (they belong to its
// USB interface chip), so the rule is made from what sysfs says about the device itself.

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/ReadOnlyFile.h"

namespace rxt4::cli {
namespace {

namespace fs = std::filesystem;

// The usage text (rxt4 udev-rule --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageUdevRule); }

struct UsbIds {
  std::string vendor, product, serial, manufacturer, productName;
};

// One sysfs attribute: its first line, or nothing when the file is absent or no
// attribute (read through the checked opener: a sysfs attribute is a regular file of
// at most a page).
std::optional<std::string> Attribute(const fs::path& device, const char* name) {
  constexpr std::uint64_t kAttributeBytes = 4096;
  std::string bytes, message;
  if (ReadFileBytes(device / name, kAttributeBytes, bytes, message) != FileStatus::Ok) return std::nullopt;
  return bytes.substr(0, bytes.find('\n'));
}

bool IsHexId(const std::string& id) {
  if (id.size() != 4) return false;
  for (char c : id)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// A serial number is matched only when udev reads it literally: no quotes, no
// backslashes and none of the pattern characters * ? [ |.
bool IsPlainSerial(const std::string& serial) {
  if (serial.empty()) return false;
  for (char c : serial)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.' && c != ':') return false;
  return true;
}

// Device texts go into a comment line: control bytes (a line break would end the
// comment) become '?'.
std::string CommentText(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return text;
}

// The tty's name under /sys/class/tty: the base name of the device node PORT leads to.
std::string TtyName(std::string_view port) {
  fs::path path{std::string(port)};
  if (path.has_parent_path()) {
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    if (!ec) path = resolved;
  }
  return path.filename().string();
}

// Walks from the tty's device up to the USB device that carries idVendor/idProduct.
std::optional<UsbIds> FindUsbIds(const fs::path& sysfs, const std::string& tty) {
  std::error_code ec;
  const fs::path root = fs::canonical(sysfs, ec);
  fs::path device = fs::canonical(sysfs / "class/tty" / tty / "device", ec);
  if (ec || tty.empty()) return std::nullopt;
  for (; device != root && device.has_relative_path(); device = device.parent_path()) {
    std::optional<std::string> vendor = Attribute(device, "idVendor");
    std::optional<std::string> product = Attribute(device, "idProduct");
    if (!vendor || !product) continue;
    if (!IsHexId(*vendor) || !IsHexId(*product)) return std::nullopt;
    return UsbIds{*vendor, *product, Attribute(device, "serial").value_or(""),
                  Attribute(device, "manufacturer").value_or(""), Attribute(device, "product").value_or("")};
  }
  return std::nullopt;
}

void PrintRule(const UsbIds& ids) {
  std::printf("# The RXT4's serial port: USB %s:%s, \"%s\" \"%s\"", ids.vendor.c_str(), ids.product.c_str(),
              CommentText(ids.manufacturer).c_str(), CommentText(ids.productName).c_str());
  if (!ids.serial.empty()) std::printf(", serial \"%s\"", CommentText(ids.serial).c_str());
  std::printf(
      ".\n# Written by rxt4 udev-rule; install as /etc/udev/rules.d/70-rxt4.rules (uaccess\n"
      "# needs a number below 73). Gives the user at the computer access to the port and\n"
      "# keeps ModemManager from probing it.\n");
  std::printf("SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"%s\", ATTRS{idProduct}==\"%s\", ", ids.vendor.c_str(),
              ids.product.c_str());
  if (IsPlainSerial(ids.serial)) std::printf("ATTRS{serial}==\"%s\", ", ids.serial.c_str());
  std::printf("TAG+=\"uaccess\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n");
}

}  // namespace

int RunUdevRule(Args args) {
  std::string_view port;
  fs::path sysfs = "/sys";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (IsHelpArg(args[i])) return PrintHelp(UsageText());
    if (args[i] == "--sysfs" && i + 1 < args.size()) {
      sysfs = std::string(args[++i]);
    } else if (args[i].empty() || args[i].front() == '-' || !port.empty()) {
      return UsageError("udev-rule", FillIn(Text(StringId::CheckBadArgument), {args[i]}), UsageText());
    } else {
      port = args[i];
    }
  }
  if (port.empty()) return UsageError("udev-rule", FillIn(Text(StringId::CliRequired), {"PORT"}), UsageText());
  const std::string tty = TtyName(port);
  std::optional<UsbIds> ids = FindUsbIds(sysfs, tty);
  if (!ids) {
    std::fprintf(stderr, "rxt4 udev-rule: %s\n", FillIn(Text(StringId::CliNotUsbSerial), {port, tty}).c_str());
    return 1;
  }
  PrintRule(*ids);
  return 0;
}

}  // namespace rxt4::cli
