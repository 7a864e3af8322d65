#include "rxt4/data/TransferDestination.h"

#include <cstdio>
#include <string_view>
#include <system_error>
#include <vector>

#include "rxt4/data/DirectoryIndex.h"
#include "rxt4/data/FolderHandle.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/FileTexts.h"

namespace rxt4 {
namespace {

// The folder's own name, also when the path ends in a separator.
std::string FolderName(const std::filesystem::path& folder) {
  std::filesystem::path name = folder.filename();
  if (name.empty()) name = folder.parent_path().filename();
  return name.string();
}

// The kind folders of a folder, as they are spelt there.
std::vector<std::filesystem::path> KindFolders(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> found;
  const DirectoryIndex index(folder);
  for (TransferKind kind : kAllTransferKinds) {
    std::error_code ec;
    const std::filesystem::path path = index.PathOf(KindFolderName(kind));
    if (std::filesystem::is_directory(path, ec)) found.push_back(path);
  }
  return found;
}

bool HoldsSetFolder(const std::filesystem::path& folder) {
  FolderHandle handle(folder);
  for (const FolderHandle::Entry& entry : handle.List(true))
    if (entry.folder && !KindFolders(folder / entry.name).empty()) return true;
  return false;
}

bool HoldsFile(const std::filesystem::path& folder) {
  FolderHandle handle(folder);
  for (const FolderHandle::Entry& entry : handle.List(true))
    if (!entry.folder) return true;
  return false;
}

}  // namespace

DestinationKind ClassifyDestination(const std::filesystem::path& folder) {
  const std::string_view suffix = filetext::kFolderNameSuffix;
  const std::string name = FolderName(folder);
  if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
    return DestinationKind::DataFolder;
  if (HoldsSetFolder(folder)) return DestinationKind::DataFolder;
  return HoldsMeasurements(folder) ? DestinationKind::SetFolderWithData : DestinationKind::SetFolder;
}

bool HoldsMeasurements(const std::filesystem::path& setFolder) {
  for (const std::filesystem::path& kindFolder : KindFolders(setFolder))
    if (HoldsFile(kindFolder)) return true;
  return false;
}

std::string NewSetFolderName(const std::filesystem::path& dataFolder, int month, int day) {
  char base[16];
  std::snprintf(base, sizeof base, "%02d%02d", month % 100, day % 100);
  // Taken means any entry of that name, a file as well as a folder.
  const DirectoryIndex index(dataFolder);
  std::string name = base;
  for (int n = 2; index.Find(name); ++n) name = std::string(base) + "-" + std::to_string(n);
  return name;
}

bool HoldsKindFolder(const std::filesystem::path& folder) { return !KindFolders(folder).empty(); }

}  // namespace rxt4
