#include "rxt4/data/DataSetWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <system_error>

#include "DirectoryIndex.h"
#include "rxt4/data/CompanionLayout.h"
#include "rxt4/data/CountFile.h"
#include "rxt4/data/CsvTable.h"
#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/ReadOnlyFile.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/FileTexts.h"

namespace rxt4 {
namespace {

constexpr std::string_view kImageVersion = "2.00";
constexpr std::uint64_t kImageHeaderBytes = 8;
constexpr std::uint64_t kRecordBytes = DataSetWriter::kRecordBytes;
constexpr std::uint64_t kConstellationBlockBytes = kConstellationFileBytes;
constexpr std::uint64_t kBlockHeaderBytes = 8;

std::uint32_t ReadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The header line of every table: the 30 column titles in Shift-JIS, joined by commas.
const std::string& HeaderLine() {
  static const std::string line = [] {
    std::string text;
    for (int c = 0; c < MeasurementRow::kColumnCount; ++c) {
      if (c) text += ',';
      text += EncodeSjis(ColumnTitle(c));
    }
    text += '\n';
    return text;
  }();
  return line;
}

std::string Format(const char* format, unsigned value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A table's rows as records: each row's text cut or padded with blanks to 179 bytes,
// then its line feed.
bool AppendTableRecords(const std::filesystem::path& path, std::vector<std::string>& records) {
  CsvTable table;
  if (table.Read(path) < 0 || !table.errorMessage().empty()) return false;
  for (int i = 0; i < table.rowCount(); ++i) {
    std::string record(table.Row(i).Line().substr(0, kRecordBytes - 1));
    record.resize(kRecordBytes - 1, ' ');
    record += '\n';
    records.push_back(std::move(record));
  }
  return true;
}

// The records of a kind folder's tables and their count; false when they cannot be read.
bool ReadRecords(const DirectoryIndex& files, const std::string& setName, TransferKind kind,
                 std::vector<std::string>& records, std::uint32_t& count) {
  if (kind != TransferKind::Multi) {
    std::optional<std::string> table = files.Find(TableFileName(setName));
    if (!table || !AppendTableRecords(files.folder() / *table, records)) return false;
    count = static_cast<std::uint32_t>(records.size());
    return true;
  }
  CountFile countFile;
  std::optional<std::string> countName = files.Find(MultiCountFileName());
  if (!countName || countFile.Read(files.folder() / *countName) < 0) return false;
  const long long announced = ParseInt(countFile.countText());  // the tables present end the loop
  for (long long i = 1; i <= announced; ++i) {
    std::optional<std::string> found = files.Find(MultiTableFileName(i));
    if (!found || !AppendTableRecords(files.folder() / *found, records)) break;
    ++count;
  }
  return true;
}

}  // namespace

KindImage AssembleKindImage(std::uint32_t count, const std::vector<std::string>& records,
                            const std::vector<std::vector<std::uint8_t>>& blocks) {
  KindImage image(kImageVersion.begin(), kImageVersion.end());
  for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>((count >> (8 * i)) & 0xFF));
  for (const std::string& r : records) image.insert(image.end(), r.begin(), r.end());
  for (const auto& b : blocks) image.insert(image.end(), b.begin(), b.end());
  return image;
}

std::optional<KindImage> ReadKindImage(const std::filesystem::path& setFolder, TransferKind kind) {
  std::string_view kindName = KindFolderName(kind);
  if (kindName.empty()) return std::nullopt;
  std::optional<std::string> folderName = DirectoryIndex(setFolder).Find(kindName);
  if (!folderName) return std::nullopt;
  const DirectoryIndex files(setFolder / *folderName);
  const std::string name = SetFolderName(setFolder);

  std::vector<std::string> records;
  std::uint32_t count = 0;
  if (!ReadRecords(files, name, kind, records, count)) return std::nullopt;
  std::vector<std::vector<std::uint8_t>> blocks;
  if (HasCompanions(ToDataKind(kind))) {
    for (unsigned block = 1;; ++block) {
      std::optional<std::string> found = files.Find(CompanionFileName(name, block));
      if (!found) break;
      std::string bytes, message;
      if (ReadFileBytes(files.folder() / *found, CsvTable::kMaxFileBytes, bytes, message) != FileStatus::Ok)
        return std::nullopt;
      blocks.emplace_back(bytes.begin(), bytes.end());
    }
  }
  return AssembleKindImage(count, records, blocks);
}

void DataSetWriter::FreeDeleter::operator()(std::uint8_t* p) const { std::free(p); }

void DataSetWriter::SelectKind(TransferKind k) {
  int value = static_cast<int>(k);
  if (value >= 0 && value < static_cast<int>(TransferKind::None)) kind_ = k;
}

bool DataSetWriter::PrepareFolder(const std::filesystem::path& setFolder) {
  return PrepareFolder(setFolder, SetFolderName(setFolder));
}

bool DataSetWriter::PrepareFolder(const std::filesystem::path& setFolder, const std::string& setName) {
  createdFolder_.clear();
  failedFolder_.clear();
  folderError_.clear();
  std::string_view kindName = KindFolderName(kind_);
  if (kindName.empty()) return false;
  // A kind folder that exists in another letter case is used as it is, so that the
  // data folder never holds two folders of one kind.
  std::string folderName = DirectoryIndex(setFolder).Find(kindName).value_or(std::string(kindName));
  std::filesystem::path kindFolder = setFolder / folderName;
  std::error_code ec;
  if (std::filesystem::create_directory(kindFolder, ec)) createdFolder_ = kindFolder;
  if (ec) return FolderFailed(std::filesystem::exists(kindFolder) ? kindFolder : setFolder, ec);
  if (!std::filesystem::is_directory(kindFolder, ec))
    return FolderFailed(kindFolder, ec ? ec : std::make_error_code(std::errc::not_a_directory));
  setName_ = setName;
  // A folder that takes no files (no permission, a read-only medium) is found now,
  // before anything is downloaded for it: the table's temporary file is made and,
  // uncommitted, removed again.
  if (StagedFile probe(kindFolder / TableFileName(setName_)); !probe.ok()) return FolderFailed(kindFolder, probe.error());
  kindFolderPath_ = kindFolder;
  return true;
}

bool DataSetWriter::FolderFailed(const std::filesystem::path& folder, std::error_code reason) {
  failedFolder_ = folder;
  folderError_ = reason;
  return false;
}

bool DataSetWriter::Allocate(std::uint32_t n) {
  // calloc takes its pages from the system lazily, so a large announced total costs
  // nothing until the data arrives; failure keeps the previous image.
  auto* buffer = static_cast<std::uint8_t*>(std::calloc(n ? n : 1, 1));
  if (!buffer) return false;
  image_.reset(buffer);
  imageSize_ = n;
  fill_ = 0;
  return true;
}

void DataSetWriter::Append(const std::uint8_t* bytes, std::size_t length) {
  if (!image_ || !bytes) return;
  std::size_t room = imageSize_ - fill_;
  std::size_t count = length < room ? length : room;
  if (count) std::memcpy(image_.get() + fill_, bytes, count);
  fill_ += static_cast<std::uint32_t>(count);
}

bool DataSetWriter::Write() {
  failedFolder_.clear();
  folderError_.clear();
  written_.clear();
  if (!image_ || kindFolderPath_.empty()) return false;
  // Each file is flushed before its rename; the folder's entries once, at the end.
  if (WriteKind()) {
    const std::error_code flushed = FlushFolder(kindFolderPath_);
    if (!flushed) return true;
    FolderFailed(kindFolderPath_, flushed);
  }
  // A kind not saved leaves nothing of this attempt.
  std::error_code ec;
  for (const std::filesystem::path& file : written_) std::filesystem::remove(file, ec);
  written_.clear();
  return false;
}

bool DataSetWriter::WriteKind() {
  switch (kind_) {
    case TransferKind::Level:
    case TransferKind::Ber:
    case TransferKind::Sky:
      return WriteSingleTable(nullptr);
    case TransferKind::Constellation:
      return WriteSingleTable(&DataSetWriter::WriteFixedBlocks);
    case TransferKind::Spectrum:
    case TransferKind::Profile:
      return WriteSingleTable(&DataSetWriter::WriteLengthBlocks);
    case TransferKind::Multi:
      return WriteMultiTables();
    case TransferKind::None:
      return false;
  }
  return false;
}

bool DataSetWriter::Commit(StagedFile& file) {
  if (abort_ != nullptr && abort_->load()) return FolderFailed(kindFolderPath_, std::make_error_code(std::errc::operation_canceled));
  if (!file.Commit(false)) return FolderFailed(kindFolderPath_, file.error());
  written_.push_back(file.finalPath());
  return true;
}

bool DataSetWriter::ImageHeader(std::uint32_t& n) const {
  if (imageSize_ < kImageHeaderBytes || std::memcmp(image_.get(), kImageVersion.data(), kImageVersion.size()) != 0)
    return false;
  n = ReadLe32(image_.get() + 4);
  return true;
}

bool DataSetWriter::WriteSingleTable(BlockWriter blocks) {
  std::uint32_t n = 0;
  if (!ImageHeader(n)) return false;
  // The records must all be there before anything is written; the companion blocks
  // that follow them go first, so the table and its count come only after them.
  const std::uint64_t end = kImageHeaderBytes + std::uint64_t{n} * kRecordBytes;
  if (end > imageSize_) return false;
  if (blocks != nullptr && !(this->*blocks)(end)) return false;
  StagedFile table(kindFolderPath_ / TableFileName(setName_));
  if (!table.Write(HeaderLine()) || !table.Write(image_.get() + kImageHeaderBytes, end - kImageHeaderBytes))
    return FolderFailed(kindFolderPath_, table.error());
  return Commit(table) && WriteCountFile(CountFileName(setName_), n);
}

bool DataSetWriter::WriteCountFile(const std::string& fileName, std::uint32_t count) {
  StagedFile file(kindFolderPath_ / fileName);
  if (!file.Write(Format("%u\n", count)) || !file.Write(kImageVersion)) return FolderFailed(kindFolderPath_, file.error());
  return Commit(file);
}

bool DataSetWriter::WriteFixedBlocks(std::uint64_t start) {
  unsigned block = 1;
  for (; start + kConstellationBlockBytes <= imageSize_; start += kConstellationBlockBytes, ++block) {
    StagedFile file(kindFolderPath_ / CompanionFileName(setName_, block));
    if (!file.Write(image_.get() + start, kConstellationBlockBytes)) return FolderFailed(kindFolderPath_, file.error());
    if (!Commit(file)) return false;
  }
  return true;  // a remainder shorter than a block is not written
}

bool DataSetWriter::WriteLengthBlocks(std::uint64_t s) {
  for (unsigned block = 1; s < imageSize_; ++block) {
    if (s + 4 >= imageSize_) return false;
    std::uint64_t length = ReadLe32(image_.get() + s);
    if (s + kBlockHeaderBytes + length > imageSize_) return false;
    StagedFile file(kindFolderPath_ / CompanionFileName(setName_, block));
    if (!file.Write(image_.get() + s, kBlockHeaderBytes + length)) return FolderFailed(kindFolderPath_, file.error());
    if (!Commit(file)) return false;
    s += kBlockHeaderBytes + length;
  }
  return true;
}

bool DataSetWriter::WriteMultiTables() {
  std::uint32_t n = 0;
  if (!ImageHeader(n)) return false;
  std::uint64_t offset = kImageHeaderBytes;
  for (std::uint32_t i = 1; i <= n; ++i) {
    const std::string tag = Format("%03u", i);
    auto tagged = [&](std::uint64_t at) {
      return at < imageSize_ && at + kRecordBytes <= imageSize_ &&
             std::memcmp(image_.get() + at, tag.data(), tag.size()) == 0;
    };
    // A data set without a single record ends the image: the count cannot be trusted
    // and going on would only produce empty tables (up to four billion of them).
    if (!tagged(offset)) return false;
    StagedFile table(kindFolderPath_ / MultiTableFileName(i));
    if (!table.Write(HeaderLine())) return FolderFailed(kindFolderPath_, table.error());
    for (; tagged(offset); offset += kRecordBytes)
      if (!table.Write(image_.get() + offset, kRecordBytes)) return FolderFailed(kindFolderPath_, table.error());
    if (!Commit(table)) return false;
    if (i == 0xFFFFFFFFu) break;
  }
  if (offset != imageSize_) return false;
  return WriteCountFile(MultiCountFileName(), n);
}

}  // namespace rxt4
