#pragma once
// A firmware image file (*.img): up to three parts, Main, TSNM and Dec, in this
// order, each verified by its header checksum and CRC-32 when the file is loaded.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "rxt4/data/Strings.h"
#include "rxt4/link/FirmwarePart.h"

namespace rxt4 {

class CFirmwareImage {
 public:
  // Loads and verifies the file, replacing what was loaded before. True when the file
  // is a valid image holding at least one part; false (nothing loaded) otherwise.
  bool Load(const std::filesystem::path& path);
  // The part of a type, or nullptr when it is absent (or the type is unknown).
  const CFirmwarePart* Part(PartType type) const;
  // The part size of a type, 0 when absent.
  std::uint32_t Size(PartType type) const;
  // Fills version with the part's 8-character version text; false when absent.
  bool Version(PartType type, std::array<char, kVersionChars>& version) const;
  // Whether no part is loaded.
  bool Empty() const;
  // Why the file itself could not be read (not there, no regular file, too large):
  // the platform's description and the file name; empty when it was read.
  const std::string& fileError() const { return fileError_; }
  // The check the last Load failed; ImageCheck::None when it succeeded.
  const ImageFault& fault() const { return fault_; }
  // The failed check in words of the string table: the file error, or the part (and
  // Dec record) and what did not match. Empty when Load succeeded.
  std::string FaultText(Language language = CurrentLanguage()) const;

 private:
  static int Slot(PartType type);
  bool Fail(ImageFault fault);
  std::array<std::unique_ptr<CFirmwarePart>, kPartTypes.size()> parts_;
  std::string fileError_;
  ImageFault fault_;
};

}  // namespace rxt4
