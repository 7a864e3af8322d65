#pragma once
// The names of one folder, listed once, found regardless of ASCII letter case.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace rxt4 {

// ASCII letters in lower case; other bytes unchanged.
std::string FoldCase(std::string_view name);

class DirectoryIndex {
 public:
  // Lists the folder once; an unreadable or missing folder gives an empty index.
  explicit DirectoryIndex(const std::filesystem::path& folder);

  // The stored name equal to name, or else one equal to it ignoring letter case.
  std::optional<std::string> Find(std::string_view name) const;

  // The folder joined with the stored name, or with name itself when none matches.
  std::filesystem::path PathOf(std::string_view name) const;

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::unordered_set<std::string> exact_;
  std::unordered_map<std::string, std::string> folded_;
};

}  // namespace rxt4
