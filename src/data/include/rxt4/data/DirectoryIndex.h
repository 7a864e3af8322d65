#pragma once
// The names of one folder, listed once, found regardless of ASCII letter case.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/FolderHandle.h"

namespace rxt4 {

// ASCII letters in lower case; other bytes unchanged.
std::string FoldCase(std::string_view name);

class DirectoryIndex {
 public:
  // Lists the folder once; an unreadable or missing folder gives an empty index.
  explicit DirectoryIndex(const std::filesystem::path& folder);
  // Lists an open folder (and keeps it open, for OpenFile).
  explicit DirectoryIndex(FolderHandle folder);

  // The stored name equal to name, or else the one equal to it ignoring letter case
  // (the first in byte order when several are).
  std::optional<std::string> Find(std::string_view name) const;

  // The folder joined with the stored name, or with name itself when none matches.
  std::filesystem::path PathOf(std::string_view name) const;

  const std::filesystem::path& folder() const { return handle_.path(); }
  const FolderHandle& handle() const { return handle_; }

 private:
  FolderHandle handle_;
  std::vector<std::string> names_;
};

}  // namespace rxt4
