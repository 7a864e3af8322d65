#include "rxt4/data/Paths.h"

#include <system_error>

#include "DirectoryIndex.h"

namespace rxt4 {

std::filesystem::path ResolvePath(const std::filesystem::path& path) {
  std::error_code ec;
  if (path.empty() || std::filesystem::exists(path, ec)) return path;
  // Walk down from the root, keeping each component that exists as it is and looking
  // the others up in their parent folder ignoring letter case.
  std::filesystem::path resolved;
  for (const std::filesystem::path& part : path) {
    std::filesystem::path candidate = resolved.empty() ? part : resolved / part;
    if (part.empty() || part == path.root_name() || part == path.root_directory() || part == "." ||
        part == ".." || std::filesystem::exists(candidate, ec)) {
      resolved = std::move(candidate);
      continue;
    }
    std::optional<std::string> found =
        DirectoryIndex(resolved.empty() ? std::filesystem::path(".") : resolved).Find(part.string());
    if (!found) return path;
    resolved = resolved.empty() ? std::filesystem::path(*found) : resolved / *found;
  }
  return resolved;
}

std::string CompanionBase(std::string_view tablePath) {
  std::size_t dot = tablePath.rfind('.');
  if (dot == std::string_view::npos) return std::string(tablePath);
  return std::string(tablePath.substr(0, dot + 1));
}

std::filesystem::path CompanionPath(std::string_view companionBase, std::string_view column0) {
  std::string_view suffix = column0.size() > 3 ? column0.substr(column0.size() - 3) : column0;
  std::string name(companionBase);
  name.append(suffix);
  return ResolvePath(std::filesystem::path(name));
}

}  // namespace rxt4
