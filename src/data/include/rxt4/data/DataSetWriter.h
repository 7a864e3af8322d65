#pragma once
// Writes one kind of downloaded measurements (the received kind image) into a data
// set folder as the kind folder with its table, count file and companion files.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "rxt4/data/Kinds.h"

namespace rxt4 {

class DataSetWriter {
 public:
  // Sets the kind when k is below TransferKind::None; otherwise nothing changes.
  void SelectKind(TransferKind k);

  // Creates the kind folder inside the (existing) data set folder; true on success
  // or when it exists already.
  bool PrepareFolder(const std::filesystem::path& setFolder);

  // Provides an image buffer of n bytes and resets the fill; false (state kept)
  // when the buffer cannot be had.
  bool Allocate(std::uint32_t n);

  // Appends received bytes; bytes beyond the image size are dropped.
  void Append(const std::uint8_t* bytes, std::size_t length);

  // Writes every file of the kind from the complete image; true when all were written.
  bool Write();

  TransferKind kind() const { return kind_; }
  std::uint32_t imageSize() const { return static_cast<std::uint32_t>(image_.size()); }
  std::uint32_t fill() const { return fill_; }
  const std::filesystem::path& kindFolderPath() const { return kindFolderPath_; }
  const std::string& setName() const { return setName_; }

 private:
  TransferKind kind_ = TransferKind::None;
  std::filesystem::path kindFolderPath_;
  std::string setName_;
  std::vector<std::uint8_t> image_;
  std::uint32_t fill_ = 0;
  bool allocated_ = false;
};

}  // namespace rxt4
