#include "rxt4/link/FirmwareFile.h"

#include <system_error>

namespace rxt4 {

bool CFirmwareFile::Open(const std::filesystem::path& path) {
  file_.reset();
  length_ = 0;
  position_ = 0;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return false;
  file_.reset(std::fopen(path.c_str(), "rb"));
  if (!file_) return false;
  length_ = size;
  return true;
}

std::size_t CFirmwareFile::Read(std::span<std::uint8_t> buffer) {
  if (!file_ || buffer.empty()) return 0;
  const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file_.get());
  position_ += got;
  // The file may have shrunk since it was measured; never claim bytes past its end.
  if (position_ > length_) length_ = position_;
  return got;
}

void CFirmwareFile::Back(std::size_t count) {
  if (!file_) return;
  const std::uint64_t back = count > position_ ? position_ : count;
  position_ -= back;
  std::clearerr(file_.get());
  std::fseek(file_.get(), static_cast<long>(position_), SEEK_SET);
}

}  // namespace rxt4
