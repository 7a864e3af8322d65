#include "rxt4/data/StagedFile.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace rxt4 {

StagedFile::StagedFile(std::filesystem::path finalPath) : finalPath_(std::move(finalPath)) {
  tempPath_ = finalPath_;
  tempPath_ += ".part";
  errno = 0;
  file_ = std::fopen(tempPath_.c_str(), "wb");
  if (!file_) error_ = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

StagedFile::~StagedFile() {
  if (!file_) return;  // committed, failed to commit (already removed) or never created
  std::fclose(file_);
  std::error_code ec;
  std::filesystem::remove(tempPath_, ec);
}

bool StagedFile::Write(const void* bytes, std::size_t length) {
  if (!ok()) return false;
  if (length && std::fwrite(bytes, 1, length, file_) != length) failed_ = true;
  return !failed_;
}

bool StagedFile::Commit() {
  if (!ok()) return false;
  std::FILE* file = std::exchange(file_, nullptr);
  bool closed = std::fclose(file) == 0;
  std::error_code ec;
  if (closed) std::filesystem::rename(tempPath_, finalPath_, ec);
  if (!closed || ec) {
    std::filesystem::remove(tempPath_, ec);
    failed_ = true;
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace rxt4
