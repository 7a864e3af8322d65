#pragma once
// A file written under a temporary name beside its final name and renamed into place
// only when complete: a failure never leaves a truncated file under the final name
// and never destroys an earlier good copy.

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace rxt4 {

class StagedFile {
 public:
  // Creates the temporary file for finalPath; ok() tells whether that worked.
  explicit StagedFile(std::filesystem::path finalPath);
  // Removes the temporary file unless it was committed.
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  bool ok() const { return file_ != nullptr && !failed_; }
  // Why the temporary file could not be created (empty when it was).
  std::error_code error() const { return error_; }

  // Appends bytes; false (and the file is spoiled) when they could not be written.
  bool Write(const void* bytes, std::size_t length);
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }

  // Closes the temporary file and renames it to the final name; true on success.
  bool Commit();

 private:
  std::filesystem::path finalPath_;
  std::filesystem::path tempPath_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  bool committed_ = false;
  std::error_code error_;
};

}  // namespace rxt4
