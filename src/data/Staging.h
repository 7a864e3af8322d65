#pragma once
// The platform side of writing files and folders beside their final place and
// putting them there when complete (PosixStaging.cpp): files and folders made under
// a fresh name that no other writer can have taken (created exclusively, private to
// the user, never through a link), flushed to the disk before they are renamed, and
// the advisory lock that keeps two downloads out of one set folder.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace rxt4::staging {

// What a file or folder is on its file system, to tell it from whatever may have
// taken its name since.
struct NodeId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const NodeId&) const = default;
};

// The platform's handle of an open file or folder (-1: none).
using Handle = int;
inline constexpr Handle kNoHandle = -1;

// A new file beside finalPath for writing, named "<final name>.XXXXXX.part" (the
// final name shortened when the whole would be too long for the file system):
// created exclusively, readable and writable by the user alone.
std::error_code CreateFileBeside(const std::filesystem::path& finalPath, std::filesystem::path& made, Handle& handle);
// A new folder in parent named "<stem>XXXXXX", private to the user.
std::error_code CreateFolderIn(const std::filesystem::path& parent, std::string_view stem, std::filesystem::path& made);

// Writes all bytes at the end of the file.
std::error_code WriteAll(Handle handle, const void* bytes, std::size_t length);
// Gives the file the permissions its final file has (or, when there is none, those a
// new file gets), flushes it to the disk and closes it; id gets what it is.
std::error_code FinishFile(Handle handle, const std::filesystem::path& finalPath, NodeId& id);
void CloseHandle(Handle handle);

// Renames from to to when from is still the node id.
std::error_code RenameChecked(const std::filesystem::path& from, const NodeId& id, const std::filesystem::path& to);
// Flushes a folder's entries to the disk.
std::error_code SyncFolder(const std::filesystem::path& folder);
// What the folder or file at path is (links not followed).
std::error_code IdOf(const std::filesystem::path& path, NodeId& id);
// Gives folder the permissions of model.
std::error_code CopyPermissions(const std::filesystem::path& model, const std::filesystem::path& folder);

// Puts replacement where target is and target's former contents where they can be
// removed (formerly: replacement's path when both were exchanged in one step, or a
// fresh name beside target where the file system cannot exchange). On failure target
// is as it was.
std::error_code ReplaceFolder(const std::filesystem::path& replacement, const std::filesystem::path& target,
                              std::filesystem::path& formerly);

// An exclusive advisory lock on a folder, held while the object lives (or until
// Release). Another process asking for it is refused at once, not made to wait. On a
// file system without locks the folder is taken all the same, unlocked.
class FolderLock {
 public:
  FolderLock() = default;
  ~FolderLock() { Release(); }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Takes the lock on the folder at path. busy is set when another holder has it;
  // a failure to open the folder gives its reason.
  std::error_code Take(const std::filesystem::path& folder, bool& busy);
  void Release();
  bool held() const { return handle_ != kNoHandle; }

 private:
  Handle handle_ = kNoHandle;
};

}  // namespace rxt4::staging
