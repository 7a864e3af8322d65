#include "rxt4/data/StagedFile.h"

#include <system_error>
#include <utility>

#include "Staging.h"

namespace rxt4 {

StagedFile::StagedFile(std::filesystem::path finalPath, Mode) : finalPath_(std::move(finalPath)) {
  // Both modes make the file here, so that its name is taken and private before anyone
  // writes; in PathOnly mode the descriptor stays open only to flush the file later.
  error_ = staging::CreateFileBeside(finalPath_, tempPath_, handle_);
}

StagedFile::~StagedFile() {
  staging::CloseHandle(handle_);
  if (!committed_ && !tempPath_.empty()) {
    std::error_code ec;
    std::filesystem::remove(tempPath_, ec);
  }
}

bool StagedFile::Fail(std::error_code reason) {
  if (!error_) error_ = reason;
  return false;
}

bool StagedFile::Write(const void* bytes, std::size_t length) {
  if (!ok() || closed_) return Fail(std::make_error_code(std::errc::bad_file_descriptor));
  if (buffer_.size() + length <= kBufferBytes) {
    buffer_.append(static_cast<const char*>(bytes), length);
    return true;
  }
  if (!Flush()) return false;
  if (length < kBufferBytes) {
    buffer_.assign(static_cast<const char*>(bytes), length);
    return true;
  }
  if (std::error_code ec = staging::WriteAll(handle_, bytes, length)) return Fail(ec);
  return true;
}

bool StagedFile::Flush() {
  if (buffer_.empty()) return true;
  const std::error_code ec = staging::WriteAll(handle_, buffer_.data(), buffer_.size());
  buffer_.clear();
  return ec ? Fail(ec) : true;
}

bool StagedFile::Close() {
  if (!ok()) return false;
  if (closed_) return true;
  if (!Flush()) return false;
  buffer_.shrink_to_fit();
  staging::NodeId id;
  const std::error_code ec = staging::FinishFile(std::exchange(handle_, staging::kNoHandle), finalPath_, id);
  if (ec) return Fail(ec);
  device_ = id.device;
  inode_ = id.inode;
  closed_ = true;
  return true;
}

bool StagedFile::Commit(bool syncFolder) {
  if (committed_) return true;
  if (!Close()) return false;
  if (std::error_code ec = staging::RenameChecked(tempPath_, {device_, inode_}, finalPath_)) return Fail(ec);
  committed_ = true;
  // The file is in place; a folder that cannot be flushed leaves it there, only not
  // known to be on the disk yet.
  if (syncFolder)
    if (std::error_code ec = FlushFolder(finalPath_.has_parent_path() ? finalPath_.parent_path() : ".")) return Fail(ec);
  return true;
}

std::error_code FlushFolder(const std::filesystem::path& folder) { return staging::SyncFolder(folder); }

}  // namespace rxt4
