#pragma once
// A file written under a temporary name beside its final name and renamed into place
// only when complete: a failure never leaves a truncated file under the final name
// and never destroys an earlier good copy. The temporary file is private and its own:
// made under a fresh name ("<name>.XXXXXX.part") that is created exclusively and never
// through a link, readable by the user alone until it is complete, flushed to the
// disk before the rename (and the folder after it), and removed on failure. So two
// writers of one final file each write a whole file of their own, and the last to
// finish wins.

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace rxt4 {

class StagedFile {
 public:
  enum class Mode {
    Write,     // the bytes are written through Write
    PathOnly,  // another writer (a database library) writes the file by tempPath()
  };

  // Creates the temporary file for finalPath; ok() tells whether that worked.
  explicit StagedFile(std::filesystem::path finalPath, Mode mode = Mode::Write);
  // Removes the temporary file unless it was committed.
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  bool ok() const { return !error_; }
  // Why creating, writing or committing failed (empty while all went well).
  std::error_code error() const { return error_; }
  const std::filesystem::path& finalPath() const { return finalPath_; }
  // The temporary file (PathOnly: where the other writer writes).
  const std::filesystem::path& tempPath() const { return tempPath_; }

  // Appends bytes (gathered into writes of kBufferBytes); false (and the file is
  // spoiled) when they could not be written.
  bool Write(const void* bytes, std::size_t length);
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }

  // Flushes the complete file to the disk and closes it under its temporary name, so
  // that many files can wait for one Commit each without holding a descriptor each.
  bool Close();

  // Flushes and closes the file (unless Close did), renames it to the final name and
  // flushes the folder (unless syncFolder is false, for a caller that flushes one
  // folder once for many files); true on success.
  bool Commit(bool syncFolder = true);

 private:
  static constexpr std::size_t kBufferBytes = 64 * 1024;
  bool Fail(std::error_code reason);
  bool Flush();

  std::filesystem::path finalPath_;
  std::filesystem::path tempPath_;
  int handle_ = -1;
  bool closed_ = false;
  bool committed_ = false;
  std::uint64_t device_ = 0, inode_ = 0;  // what the closed temporary file is
  std::string buffer_;                    // bytes not written yet
  std::error_code error_;
};

// Flushes a folder's entries to the disk: once, after files committed into it with
// Commit(false).
std::error_code FlushFolder(const std::filesystem::path& folder);

}  // namespace rxt4
