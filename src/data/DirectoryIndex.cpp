#include "rxt4/data/DirectoryIndex.h"

#include <algorithm>
#include <utility>

namespace rxt4 {
namespace {

char FoldChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldChar(x) == FoldChar(y);
         });
}

}  // namespace

std::string FoldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = FoldChar(c);
  return folded;
}

DirectoryIndex::DirectoryIndex(const std::filesystem::path& folder) : DirectoryIndex(FolderHandle(folder)) {}

DirectoryIndex::DirectoryIndex(FolderHandle folder) : handle_(std::move(folder)) {
  for (FolderHandle::Entry& entry : handle_.List(false)) names_.push_back(std::move(entry.name));
}

std::optional<std::string> DirectoryIndex::Find(std::string_view name) const {
  // A folder holds a handful of names (a kind folder a few hundred at most): a scan
  // costs less than building a hash table for it.
  const std::string* folded = nullptr;
  for (const std::string& stored : names_) {
    if (stored == name) return stored;
    if (EqualFolded(stored, name) && (!folded || stored < *folded)) folded = &stored;
  }
  if (!folded) return std::nullopt;
  return *folded;
}

std::filesystem::path DirectoryIndex::PathOf(std::string_view name) const {
  std::optional<std::string> found = Find(name);
  return folder() / (found ? *found : std::string(name));
}

}  // namespace rxt4
