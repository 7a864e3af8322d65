// The platform's part of finding the installed profiles: the running program's own
// path. On Linux the kernel names it in /proc/self/exe; another system asks its own
// (GetModuleFileName on Windows) and keeps the same layout beside the program.

#include <system_error>

#include "rxt4/judge/ProfileCatalog.h"

namespace rxt4 {

std::filesystem::path InstalledLimitsFolder() {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || program.empty()) return {};
  // <prefix>/bin/rxt4 -> <prefix>/share/rxt4-viewer/limits
  return program.parent_path().parent_path() / "share" / "rxt4-viewer" / "limits";
}

}  // namespace rxt4
