#pragma once
// A firmware image file opened for reading part by part: sequential reads, a step
// back after a header that belongs to another part type, and the bytes left, so that
// no length taken from the file is trusted before the file is known to hold it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>

namespace rxt4 {

class CFirmwareFile {
 public:
  // Opens a regular file for reading; false when it cannot be opened.
  bool Open(const std::filesystem::path& path);
  // Whether a file is open.
  bool IsOpen() const { return file_ != nullptr; }
  // Reads up to buffer.size() bytes; answers how many were read (fewer at the end).
  std::size_t Read(std::span<std::uint8_t> buffer);
  // Moves the read position back by count bytes (never before the start).
  void Back(std::size_t count);
  // The number of bytes from the read position to the end of the file.
  std::uint64_t Remaining() const { return length_ - position_; }
  // The length of the whole file in bytes.
  std::uint64_t Length() const { return length_; }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::uint64_t length_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace rxt4
