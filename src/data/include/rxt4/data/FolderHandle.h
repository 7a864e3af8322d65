#pragma once
// An open folder: its entries listed once, and files and sub folders opened relative
// to it, so that reading a set folder walks no path twice.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/ReadOnlyFile.h"

namespace rxt4 {

class FolderHandle {
 public:
  struct Entry {
    std::string name;
    bool folder = false;  // a folder, or a link to one
  };

  // An unopened handle: lists nothing, opens nothing.
  FolderHandle() = default;
  // Opens the folder at path; isOpen() is false when it cannot be opened.
  explicit FolderHandle(const std::filesystem::path& path);
  // Opens the sub folder name of parent (path is its full path).
  FolderHandle(const FolderHandle& parent, std::string_view name, std::filesystem::path path);
  ~FolderHandle();
  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  bool isOpen() const { return stream_ != nullptr; }
  // The platform's error number of a failed open (0 when open).
  int error() const { return error_; }
  const std::filesystem::path& path() const { return path_; }

  // The entries other than "." and "..", in the order the file system lists them;
  // withFolderFlag also tells folders from other entries (a link is followed). A
  // handle lists its folder once: later calls give nothing.
  std::vector<Entry> List(bool withFolderFlag);

  // Opens the file name of this folder (or a path relative to it, "KIND/F.CSV") as
  // ReadOnlyFile::Open does. The handle must outlive file (its path names it in messages).
  FileStatus OpenFile(std::string_view name, std::uint64_t maxBytes, ReadOnlyFile& file) const;

 private:
  friend class FileBatch;
  void Close();

  void* stream_ = nullptr;  // the platform's folder stream
  std::filesystem::path path_;
  int error_ = 0;
};

}  // namespace rxt4
