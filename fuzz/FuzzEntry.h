#pragma once
// The entry point of a fuzz target: libFuzzer's LLVMFuzzerTestOneInput in a fuzz
// build, a named function that fuzz_regression calls in every other build.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#ifdef RXT4_LIBFUZZER
#define RXT4_FUZZ_ENTRY(name) extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
#else
#define RXT4_FUZZ_ENTRY(name) int name(const std::uint8_t* data, std::size_t size)
#endif

namespace rxt4::fuzz {

// The named entry points (regression build).
int FuzzTable(const std::uint8_t* data, std::size_t size);
int FuzzWriter(const std::uint8_t* data, std::size_t size);
int FuzzFirmware(const std::uint8_t* data, std::size_t size);
int FuzzCompanion(const std::uint8_t* data, std::size_t size);
int FuzzReply(const std::uint8_t* data, std::size_t size);
int FuzzJudge(const std::uint8_t* data, std::size_t size);

// A private scratch folder of one target in this process, removed with it. The
// targets keep one as a function-local static so inputs do not pay for mkdir.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / ("rxt4_" + name + "_" + std::to_string(::getpid()))) {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    std::filesystem::create_directories(path_, ec);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Empties the folder (what the previous input left behind).
  void Clean() const {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ec)) std::filesystem::remove_all(entry.path(), ec);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace rxt4::fuzz
