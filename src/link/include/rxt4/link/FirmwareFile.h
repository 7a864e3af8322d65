#pragma once
// A firmware image file opened for reading part by part: sequential reads, a step
// back after a header that belongs to another part type, and the bytes left, so that
// no length taken from the file is trusted before the file is known to hold it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "rxt4/data/ReadOnlyFile.h"

namespace rxt4 {

class CFirmwareFile {
 public:
  // The largest valid image: three parts (Main, TSNM, Dec) of at most 0xFFFFFF bytes
  // each, the largest size a part header can give. A longer file is refused unread.
  static constexpr std::uint64_t kMaxImageBytes = 3ull * 0xFFFFFF;

  // Opens a regular file of at most kMaxImageBytes for reading (without blocking on a
  // pipe or device); false when it cannot be opened or is refused (error() says why).
  bool Open(const std::filesystem::path& path);
  // Whether a file is open.
  // Reads up to buffer.size() bytes; answers how many were read (fewer at the end).
  std::size_t Read(std::span<std::uint8_t> buffer);
  // Moves the read position back by count bytes (never before the start).
  void Back(std::size_t count);
  // The number of bytes from the read position to the end of the file.
  std::uint64_t Remaining() const { return length_ - position_; }
  // The length of the whole file in bytes.
  std::uint64_t Length() const { return length_; }
  // Why the last Open failed: the platform's description and the file name.
  const std::string& error() const { return file_.message(); }

 private:
  ReadOnlyFile file_;
  std::uint64_t length_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace rxt4
