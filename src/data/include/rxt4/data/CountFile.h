#pragma once
// Reader of a count file (F.CNT, COUNT.CNT): line 1 is the count, line 2 the format
// version; every field of a line replaces the value, so the last field wins.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace rxt4 {

class CountFile {
 public:
  static constexpr std::string_view kDefaultCount = "-1";
  static constexpr std::string_view kDefaultVersion = "****";
  static constexpr std::string_view kVersion = "2.00";
  // A count file holds a number and "2.00"; a longer file is refused unread.
  static constexpr std::uint64_t kMaxFileBytes = 4096;

  // Reads the count file at path. 0 when read; -1 when it cannot be opened, or when it
  // is refused (no regular file, too long) or a read fails: readFailed() and
  // errorMessage() then tell which (the values read before a failure stay).
  int Read(const std::filesystem::path& path);

  // Parses count file bytes as if read from a file.
  void Parse(std::string_view bytes);

  const std::string& countText() const { return countText_; }
  const std::string& versionText() const { return versionText_; }

  // True when the version text is exactly "2.00".
  bool versionValid() const { return versionText_ == kVersion; }

  // True when the last Read failed or refused the file after it had been opened.
  bool readFailed() const { return readFailed_; }
  const std::string& errorMessage() const { return errorMessage_; }

 private:
  std::string countText_{kDefaultCount};
  std::string versionText_{kDefaultVersion};
  bool readFailed_ = false;
  std::string errorMessage_;
};

}  // namespace rxt4
