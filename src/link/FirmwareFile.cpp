#include "rxt4/link/FirmwareFile.h"

namespace rxt4 {

bool CFirmwareFile::Open(const std::filesystem::path& path) {
  length_ = 0;
  position_ = 0;
  if (file_.Open(path, kMaxImageBytes) != FileStatus::Ok) return false;
  length_ = file_.size();
  return true;
}

std::size_t CFirmwareFile::Read(std::span<std::uint8_t> buffer) {
  std::size_t got = 0;
  while (file_.isOpen() && got < buffer.size()) {
    const std::int64_t n = file_.ReadAt(buffer.data() + got, buffer.size() - got, position_ + got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  position_ += got;
  // The file may have grown since it was measured; never claim bytes it has not got.
  if (position_ > length_) length_ = position_;
  return got;
}

void CFirmwareFile::Back(std::size_t count) { position_ -= count > position_ ? position_ : count; }

}  // namespace rxt4
