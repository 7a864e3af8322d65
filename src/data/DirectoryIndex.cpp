#include "rxt4/data/DirectoryIndex.h"

namespace rxt4 {

std::string FoldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

DirectoryIndex::DirectoryIndex(const std::filesystem::path& folder) : folder_(folder) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, std::filesystem::directory_options::skip_permission_denied, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    folded_.emplace(FoldCase(name), name);  // the first listed of equal folded names wins
    exact_.insert(std::move(name));
  }
}

std::optional<std::string> DirectoryIndex::Find(std::string_view name) const {
  std::string key(name);
  if (exact_.count(key)) return key;
  auto it = folded_.find(FoldCase(name));
  if (it == folded_.end()) return std::nullopt;
  return it->second;
}

std::filesystem::path DirectoryIndex::PathOf(std::string_view name) const {
  std::optional<std::string> found = Find(name);
  return folder_ / (found ? *found : std::string(name));
}

}  // namespace rxt4
