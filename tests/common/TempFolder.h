#pragma once
// A fresh folder of the test's own under the system's temporary folder, created
// exclusively ("rxt4_<tag>_XXXXXX") and removed with its contents at the end.

#include <stdlib.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace rxt4::test {

class TempFolder {
 public:
  // tag: a word of the test's (a test's name; any character but a letter, a digit or
  // "_" becomes "_").
  explicit TempFolder(std::string_view tag = "test") {
    std::string name = "rxt4_";
    for (char c : tag) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    std::string pattern = (std::filesystem::temp_directory_path() / (name + "_XXXXXX")).string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Empty when the folder could not be made.
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& relative) const { return path_ / relative; }

  // Writes bytes to the relative path, creating its folders; the full path.
  std::filesystem::path Put(const std::filesystem::path& relative, std::string_view bytes) const {
    std::filesystem::path full = path_ / relative;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full;
  }

 private:
  std::filesystem::path path_;
};

// The whole file; empty when it cannot be read.
inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace rxt4::test
