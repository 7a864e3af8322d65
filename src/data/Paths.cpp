#include "rxt4/data/Paths.h"

#include <cstdio>
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

std::string SetFolderName(const std::filesystem::path& setFolder) {
  std::string set = setFolder.string();
  while (set.size() > 1 && set.back() == std::filesystem::path::preferred_separator) set.pop_back();
  const std::size_t slash = set.rfind(std::filesystem::path::preferred_separator);
  return slash == std::string::npos ? set : set.substr(slash + 1);
}

std::string TableFileName(std::string_view setName) { return std::string(setName) + ".CSV"; }

std::string CountFileName(std::string_view setName) { return std::string(setName) + ".CNT"; }

std::string CompanionFileName(std::string_view setName, unsigned block) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%03u", block);
  return std::string(setName) + suffix;
}

std::string MultiTableFileName(long long table) {
  char name[32];
  std::snprintf(name, sizeof name, "%02lld.CSV", table);
  return name;
}

std::string MultiCountFileName() { return CountFileName("COUNT"); }

std::string CompanionBase(std::string_view tablePath) {
  std::size_t dot = tablePath.rfind('.');
  if (dot == std::string_view::npos) return std::string(tablePath);
  return std::string(tablePath.substr(0, dot + 1));
}

std::string CompanionName(std::string_view companionBase, std::string_view recordNo) {
  std::string name(companionBase);
  name.append(recordNo.size() > 3 ? recordNo.substr(recordNo.size() - 3) : recordNo);
  return name;
}

std::filesystem::path CompanionPath(std::string_view companionBase, std::string_view recordNo) {
  return ResolvePath(std::filesystem::path(CompanionName(companionBase, recordNo)));
}

}  // namespace rxt4
