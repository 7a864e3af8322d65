#pragma once
// Writes one kind of downloaded measurements (the received kind image) into a data
// set folder as the kind folder with its table, count file and companion files; and
// its inverse, which reads a kind folder back into the kind image.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "rxt4/data/Kinds.h"

namespace rxt4 {

class StagedFile;

// A received kind image: "2.00", the record count (32-bit little-endian), the
// 180-byte records (one table row each), then the companion blocks.
using KindImage = std::vector<std::uint8_t>;
using KindImages = std::array<KindImage, kTransferKindCount>;  // indexed by TransferKind

// Puts a kind image together from its record count, records and companion blocks.
KindImage AssembleKindImage(std::uint32_t count, const std::vector<std::string>& records,
                            const std::vector<std::vector<std::uint8_t>>& blocks = {});

// The inverse of DataSetWriter: reads a data set folder's kind folder back into the
// kind image the instrument would send. Nothing when the kind folder is missing or
// unreadable.
std::optional<KindImage> ReadKindImage(const std::filesystem::path& setFolder, TransferKind kind);

class DataSetWriter {
 public:
  // Bytes of a record in the image: a table row, padded with blanks, and its line feed.
  static constexpr std::size_t kRecordBytes = 180;

  // Sets the kind when k is below TransferKind::None; otherwise nothing changes.
  void SelectKind(TransferKind k);

  // Creates the kind folder inside the (existing) data set folder (or takes the one
  // there) and checks that a file can be made in it; true on success. On failure
  // failedFolder() and folderError() say where and why.
  bool PrepareFolder(const std::filesystem::path& setFolder);
  // The same inside folder, naming the files after setName (a download staged beside
  // its set folder is written under the set folder's name).
  bool PrepareFolder(const std::filesystem::path& folder, const std::string& setName);

  // Provides an image buffer of n bytes and resets the fill; false (state kept)
  // when the buffer cannot be had.
  bool Allocate(std::uint32_t n);

  // Appends received bytes; bytes beyond the image size are dropped.
  void Append(const std::uint8_t* bytes, std::size_t length);

  // A flag that, once raised, stops Write before its next file (the kind is then not
  // saved): each file is flushed to the disk, which may take a while, and a cancel
  // must not wait for a kind's dozens of companion files. Null: none.
  void SetAbortFlag(const std::atomic<bool>* abort) { abort_ = abort; }

  // Writes every file of the kind from the complete image; true when all were written.
  // Each file is written under a temporary name in its folder and renamed into place
  // once complete; the companion files come first, the table next and its count file
  // last, and a failure removes the files this Write had put in place: a kind that
  // was not saved leaves no table, and never a count that names companion files that
  // are not there. A multi-channel image stops with false at the first data set
  // without a record. On failure failedFolder() and folderError() say where and why
  // when the system refused a file (the reason is empty for an image that does not
  // add up).
  bool Write();

  TransferKind kind() const { return kind_; }
  std::uint32_t imageSize() const { return imageSize_; }
  std::uint32_t fill() const { return fill_; }
  const std::filesystem::path& kindFolderPath() const { return kindFolderPath_; }
  const std::string& setName() const { return setName_; }
  // The kind folder the last PrepareFolder made; empty when it was there already.
  const std::filesystem::path& createdFolder() const { return createdFolder_; }
  // The folder the last failed PrepareFolder (or Write) could not create or write into, and the system's reason.
  const std::filesystem::path& failedFolder() const { return failedFolder_; }
  std::error_code folderError() const { return folderError_; }

 private:
  using BlockWriter = bool (DataSetWriter::*)(std::uint64_t start);
  bool WriteKind();
  bool ImageHeader(std::uint32_t& n) const;
  bool WriteSingleTable(BlockWriter blocks);
  bool WriteCountFile(const std::string& fileName, std::uint32_t count);
  bool WriteFixedBlocks(std::uint64_t start);
  bool WriteLengthBlocks(std::uint64_t start);
  bool WriteMultiTables();
  bool Commit(StagedFile& file);
  bool FolderFailed(const std::filesystem::path& folder, std::error_code reason);

  TransferKind kind_ = TransferKind::None;
  std::filesystem::path kindFolderPath_;
  std::string setName_;
  std::filesystem::path createdFolder_;
  std::filesystem::path failedFolder_;
  std::error_code folderError_;
  std::vector<std::filesystem::path> written_;  // the files the running Write has put in place
  const std::atomic<bool>* abort_ = nullptr;
  struct FreeDeleter {
    void operator()(std::uint8_t* p) const;
  };
  // Zero-filled on allocation (pages are only touched as data arrives), so an image
  // written before it was complete never holds stale memory.
  std::unique_ptr<std::uint8_t[], FreeDeleter> image_;
  std::uint32_t imageSize_ = 0;
  std::uint32_t fill_ = 0;
};

}  // namespace rxt4
