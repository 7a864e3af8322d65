#pragma once
// Reading a whole file into one buffer, with the platform's description of a failure.

#include <filesystem>
#include <string>

namespace rxt4 {

enum class FileStatus {
  Ok,
  OpenFailed,  // the file could not be opened; nothing was read
  ReadFailed,  // the file opened but reading stopped early; the bytes before are kept
};

// Reads the file into bytes (replacing them). On failure, message holds the
// platform's description of the error followed by the file name.
FileStatus ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::string& message);

// The platform's description of error number err followed by the file name, cut to
// the length a message box shows (600 bytes, never inside a UTF-8 sequence).
std::string FileErrorMessage(int err, const std::filesystem::path& path);

}  // namespace rxt4
