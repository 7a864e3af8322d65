#include "rxt4/link/PortAdvice.h"

#include <cerrno>
#include <system_error>

#include "rxt4/data/Strings.h"

namespace rxt4 {
namespace {

struct Advice {
  int systemError;
  StringId text;
};

// EWOULDBLOCK is the answer of the port's exclusive lock when another program holds
// it; EBUSY that of a device opened exclusively elsewhere. EINVAL comes from a speed
// the device does not take, ENOTTY from a path that is no terminal.
constexpr Advice kAdvice[] = {
    {EACCES, StringId::PortAdvicePermission}, {EPERM, StringId::PortAdvicePermission},
    {EBUSY, StringId::PortAdviceBusy},        {EWOULDBLOCK, StringId::PortAdviceBusy},
    {ENOENT, StringId::PortAdviceMissing},    {ENODEV, StringId::PortAdviceMissing},
    {ENXIO, StringId::PortAdviceMissing},     {EINVAL, StringId::PortAdviceInvalid},
    {ENOTTY, StringId::PortAdviceInvalid},
};

}  // namespace

std::string_view PortOpenAdvice(int systemError) {
  for (const Advice& a : kAdvice)
    if (a.systemError == systemError) return Text(a.text);
  return {};
}

std::string PortOpenDetail(std::string_view port, int systemError) {
  if (systemError == 0) return {};
  std::string text = std::string(port) + ": " + std::generic_category().message(systemError);
  if (const std::string_view advice = PortOpenAdvice(systemError); !advice.empty()) (text += '\n') += advice;
  return text;
}

}  // namespace rxt4
